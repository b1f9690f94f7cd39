#include "password_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "error_box.h"

CPasswordDlg::CPasswordDlg() : CModalDialog(CloseBox::Shown), m_editPassword(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Password"));
    m_editPassword->setObjectName(QStringLiteral("passwordEdit"));
    m_editPassword->setEchoMode(QLineEdit::Password);
    m_editPassword->setMinimumWidth(141);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        m_strPassword = m_editPassword->text();
        accept();
    });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Password :"), this));
    row->addWidget(m_editPassword, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

PasswordOutcome askPassword(std::string_view reported) {
    CPasswordDlg prompt;
    const int result = prompt.DoModal();
    const PasswordOutcome outcome = passwordOutcome(result, prompt.GetPassword().toStdU16String(), reported);
    if (outcome == PasswordOutcome::Refused)
        showErrorBox(nullptr, QStringLiteral("The password does not match\nPlease re-try again!!"));
    return outcome;
}
