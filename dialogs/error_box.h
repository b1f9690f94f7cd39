// The dialogs' error messages: caption "Ostrel", stop icon, one OK button.
#pragma once

#include <QString>

class QWidget;

void showErrorBox(QWidget* parent, const QString& text);
