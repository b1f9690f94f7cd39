// The prompt for a camera's password, and the check every command that
// changes a camera runs first.
#pragma once

#include <string_view>

#include "modal_dialog.h"
#include "password_check.h"

class QLineEdit;

class CPasswordDlg : public CModalDialog {
public:
    CPasswordDlg();

    // The text as it stood when OK ended the dialog.
    QString GetPassword() const { return m_strPassword; }

private:
    QString m_strPassword;
    QLineEdit* m_editPassword;
};

// Asks for the password and compares it with the camera's `reported` one;
// a refusal has been shown to the user when this returns.
PasswordOutcome askPassword(std::string_view reported);
