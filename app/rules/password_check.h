// The check every command that changes a camera runs first.
#pragma once

#include <string>
#include <string_view>

namespace rules {

// The typed password must equal the camera's own, code unit for code unit
// (case matters, nothing is trimmed). The camera's 8-bit password is widened
// byte for byte.
bool passwordMatches(std::u16string_view typed, std::string_view reported);

}  // namespace rules
