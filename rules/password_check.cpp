#include "password_check.h"

#include "dialog_result.h"
#include "text.h"

namespace rules {

bool passwordMatches(std::u16string_view typed, std::string_view reported) {
    return typed == zelk::cameraTextWide(reported);
}

}  // namespace rules

PasswordOutcome passwordOutcome(int modalResult, std::u16string_view typed, std::string_view reported) {
    if (modalResult != IDOK) return PasswordOutcome::Cancelled;
    return rules::passwordMatches(typed, reported) ? PasswordOutcome::Accepted : PasswordOutcome::Refused;
}
