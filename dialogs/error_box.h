// The dialogs' error messages: caption "Ostrel", stop icon, one OK button.
#pragma once

#include <QString>

class QWidget;

// With no parent, the box belongs to the dialogs' owner (dialog_owner.h).
void showErrorBox(QWidget* parent, const QString& text);
