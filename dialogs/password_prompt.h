// The password check that every command changing a camera runs first.
#pragma once

#include <string_view>

#include "password_outcome.h"

// Asks for the password and compares it with the camera's `reported` one;
// a refusal has been shown to the user when this returns.
PasswordOutcome askPassword(std::string_view reported);
