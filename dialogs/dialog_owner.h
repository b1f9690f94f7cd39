// The window every dialog and message box belongs to: centred on it, with no
// task-bar entry of its own.
#pragma once

class QWidget;

// The main window sets itself; nullptr when it goes.
void setDialogOwner(QWidget* owner);
QWidget* dialogOwner();
