#include "from_camera.h"

#include "text.h"

QString fromCamera(std::string_view bytes) { return QString::fromStdU16String(zelk::cameraTextWide(bytes)); }
