// The window's Export: the listed cameras to a CSV or JSON file the user names.
#pragma once

#include <vector>

#include "camera_export.h"

class QWidget;

// Asks for the file (its name's ending, .json or .csv, chooses the format)
// and writes it; a file that cannot be written is said in an error box.
void exportCameras(QWidget* parent, const std::vector<rules::ExportedCamera>& cameras);
