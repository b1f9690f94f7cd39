// The password check's verdict, apart from the prompt that asks for it.
#pragma once

#include <string_view>

enum class PasswordOutcome { Accepted, Refused, Cancelled };

// `modalResult` is how the prompt ended, `typed` what it held then and
// `reported` the camera's own 8-bit password from the last search. The
// camera's bytes are widened one to one, as the command-line tool does, so
// both front ends accept the same text.
PasswordOutcome passwordOutcome(int modalResult, std::u16string_view typed, std::string_view reported);
