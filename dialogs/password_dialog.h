// The prompt for a camera's password (dialog 133).
#pragma once

#include "modal_dialog.h"

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
