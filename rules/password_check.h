// The check every command that changes a camera runs first.
#pragma once

#include <string>
#include <string_view>

namespace rules {

// The typed password must equal the camera's own, code unit for code unit
// (case matters, nothing is trimmed). The camera's 8-bit password is widened
// byte for byte, as both front ends do, so they accept the same text.
bool passwordMatches(std::u16string_view typed, std::string_view reported);

}  // namespace rules

enum class PasswordOutcome { Accepted, Refused, Cancelled };

// The verdict on the prompt: `modalResult` is how it ended (IDOK or not),
// `typed` what it held then and `reported` the camera's password from the
// last search.
PasswordOutcome passwordOutcome(int modalResult, std::u16string_view typed, std::string_view reported);
