#include "password_prompt.h"

#include "error_box.h"
#include "password_dialog.h"

PasswordOutcome askPassword(std::string_view reported) {
    CPasswordDlg prompt;
    const int result = prompt.DoModal();
    const PasswordOutcome outcome = passwordOutcome(result, prompt.GetPassword().toStdU16String(), reported);
    if (outcome == PasswordOutcome::Refused)
        showErrorBox(nullptr, QStringLiteral("The password does not match\nPlease re-try again!!"));
    return outcome;
}
