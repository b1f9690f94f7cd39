#include "modal_dialog.h"

#include "dialog_owner.h"

CModalDialog::CModalDialog(CloseBox closeBox) : QDialog(dialogOwner()) {
    if (closeBox == CloseBox::Hidden)
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

int CModalDialog::DoModal() {
    OnInitDialog();
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
