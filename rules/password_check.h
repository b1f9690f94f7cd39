// The check every command that changes a camera runs first.
#pragma once

#include <string>
#include <string_view>

namespace rules {

// The typed password must equal the camera's own, code unit for code unit
// (case matters, nothing is trimmed). The camera's password is decoded as
// the scan document writes it (cameraText: UTF-8 where well-formed, else
// Latin-1), so the document's text and the camera's own bytes both give
// the password the user sees and types.
bool passwordMatches(std::u16string_view typed, std::string_view reported);

}  // namespace rules

enum class PasswordOutcome { Accepted, Refused, Cancelled };

// The verdict on the prompt: `modalResult` is how it ended (IDOK or not),
// `typed` what it held then and `reported` the camera's password from the
// last search.
PasswordOutcome passwordOutcome(int modalResult, std::u16string_view typed, std::string_view reported);
