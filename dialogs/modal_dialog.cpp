#include "modal_dialog.h"

CModalDialog::CModalDialog(CloseBox closeBox) {
    if (closeBox == CloseBox::Hidden)
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

int CModalDialog::DoModal() {
    OnInitDialog();
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
