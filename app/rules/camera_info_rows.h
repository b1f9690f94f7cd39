// The rows of the device information dialog.
#pragma once

#include <json/json.h>

#include <string>
#include <vector>

namespace rules {

struct InfoRow {
    std::string name;
    std::string value;
};

// 12, 14 or 16 rows for the camera's scan-document member; `rtspUrl1Field`
// is the RTSP URL 1 field of its record.
std::vector<InfoRow> deviceInfoRows(const Json::Value& camera, const std::string& rtspUrl1Field);

// Everything after the last ":" (the whole text without one); "80" for an empty URL.
std::string webPort(const std::string& webUrl);

// The part after the last ":" up to its first "/"; empty when there is no "/".
std::string rtspPort(const std::string& rtspUrl);

// A JSON value's truth as the DHCP row reads it.
bool dhcpEnabled(const Json::Value& value);

}  // namespace rules
