// The camera list as a file: CSV (RFC 4180) or JSON, both UTF-8. The
// window's Export and `ostrel-cli search --csv` write the same text.
#pragma once

#include <string>
#include <vector>

#include "zelk.h"

namespace rules {

// What an export tells of one camera: never its user id or password.
struct ExportedCamera {
    std::string deviceName;
    std::string ipAddress;
    std::string macAddress;
    std::string modelName;
    std::string firmwareVersion;
    std::string subnetMask;
    std::string gateway;
    bool dhcp = false;
    std::string webUrl;
    std::vector<std::string> rtspUrls;  // the URLs 1 to 3, empty ones included
};

// The camera of a search's record, its texts read as camera text (UTF-8
// where well-formed, any other byte as its Latin-1 character), as the scan
// document has them.
ExportedCamera exportedCamera(const DeviceInfo& record);

// A heading line, then one line per camera; CRLF line ends, fields quoted
// where they hold a comma, a quote or a line break.
std::string camerasCsv(const std::vector<ExportedCamera>& cameras);

// An array with one object per camera.
std::string camerasJson(const std::vector<ExportedCamera>& cameras);

}  // namespace rules
