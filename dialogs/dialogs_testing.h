// The window's test seams, in one place. Each replaces one contact with the
// user or the desktop for the tests; an empty or zero argument restores it.
#pragma once

#include <QString>

#include <chrono>
#include <functional>

class QMessageBox;

// While an answerer is set, an error box is built but not shown; the answerer
// sees it and the box ends as if OK had been pressed, so tests never wait for
// a modal window.
void setErrorBoxAnswererForTests(std::function<void(const QMessageBox&)> answerer);

// Receives the web address in place of the desktop's browser.
void setWebPageOpenerForTests(std::function<void(const QString&)> opener);

// Names the file an export writes in place of the file dialog; an empty name cancels.
void setExportFileChooserForTests(std::function<QString()> chooser);

// The countdown's tick period (the program always ticks once a second).
void setCountdownTickForTests(std::chrono::milliseconds period);
