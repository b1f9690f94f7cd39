// The dialogs' error messages: caption "Ostrel", stop icon, one OK button.
#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

void showErrorBox(QWidget* parent, const QString& text);

// Test seam: while an answerer is set, an error box is built but not shown;
// the answerer sees it and the box ends as if OK had been pressed, so tests
// never wait for a modal window. An empty function shows boxes again.
void setErrorBoxAnswererForTests(std::function<void(const QMessageBox&)> answerer);
