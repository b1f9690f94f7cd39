// A camera's bytes as the text the window shows.
#pragma once

#include <QString>

#include <string_view>

// Decoded as camera text (UTF-8 where well-formed, else Latin-1), so a name
// shows as the camera sent it whatever the workstation's locale.
QString fromCamera(std::string_view bytes);
