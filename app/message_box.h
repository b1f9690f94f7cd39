// The program's message boxes: caption "Ostrel", stop icon, one OK button.
#pragma once

#include <QString>

class QWidget;

void showStopMessage(QWidget* parent, const QString& text);
