// What the secondary dialogs share: a modal run that answers IDOK or IDCANCEL.
#pragma once

#include <QDialog>

#include "dialog_result.h"

class CModalDialog : public QDialog {
public:
    // Fills the controls, shows the dialog and waits: IDOK when it was
    // accepted, IDCANCEL for Esc, the close box or Cancel.
    int DoModal();

protected:
    enum class CloseBox { Shown, Hidden };
    explicit CModalDialog(CloseBox closeBox);

    // Puts the members set by the caller into the controls, before the dialog shows.
    virtual void OnInitDialog() {}
};
