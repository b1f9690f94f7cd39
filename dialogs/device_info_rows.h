// The rows of the device information dialog.
#pragma once

#include <json/value.h>

#include <string>
#include <string_view>
#include <vector>

struct InfoRow {
    std::u16string name;
    std::u16string value;
    bool operator==(const InfoRow&) const = default;
};

// Member `key` of a camera's scan-document object as text, from the local
// 8-bit encoding; empty when the member is missing or holds no plain value.
std::u16string cameraText(const Json::Value& camera, const char* key);

// "80" for an empty web URL, else everything after its last ":" (the whole
// text when it has none), paths included.
std::u16string webPort(std::u16string_view webUrl);

// The text between the last ":" and the first "/" after it; empty when the
// URL ends at its port or has no "/" after the last ":".
std::u16string rtspPort(std::u16string_view rtspUrl);

// 12 rows, two more for each of RTSP URL 2 and 3. `rtspUrl1Field` is the
// camera's RTSP URL 1 field of its record, shown as the first RTSP URL.
std::vector<InfoRow> deviceInfoRows(const Json::Value& camera, std::string_view rtspUrl1Field);
