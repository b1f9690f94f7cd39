#include "password_outcome.h"

#include "modal_dialog.h"
#include "password_check.h"

PasswordOutcome passwordOutcome(int modalResult, std::u16string_view typed, std::string_view reported) {
    if (modalResult != IDOK) return PasswordOutcome::Cancelled;
    return rules::passwordMatches(typed, reported) ? PasswordOutcome::Accepted : PasswordOutcome::Refused;
}
