// Pictures of the dialogs for people to look at, under the build folder.
#pragma once

class QWidget;

// Saves `widget` as screenshots/<name>.png of the build folder.
void saveScreenshot(QWidget* widget, const char* name);
