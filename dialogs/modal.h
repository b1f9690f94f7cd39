// Modal results as the commands test them.
#pragma once

#include <QDialog>

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Shows `dialog` modally: IDOK when it was accepted, IDCANCEL otherwise.
inline int DoModal(QDialog& dialog) { return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL; }
