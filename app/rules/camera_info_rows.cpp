#include "camera_info_rows.h"

namespace rules {

namespace {

std::string afterLastColon(const std::string& text) {
    const size_t colon = text.rfind(':');
    return colon == std::string::npos ? text : text.substr(colon + 1);
}

std::string orNotAvailable(const std::string& text) { return text.empty() ? "N/A" : text; }

}  // namespace

std::string webPort(const std::string& webUrl) { return webUrl.empty() ? "80" : afterLastColon(webUrl); }

std::string rtspPort(const std::string& rtspUrl) {
    const std::string part = afterLastColon(rtspUrl);
    const size_t slash = part.find('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

bool dhcpEnabled(const Json::Value& value) {
    switch (value.type()) {
    case Json::booleanValue: return value.asBool();
    case Json::intValue: return value.asInt64() != 0;
    case Json::uintValue: return value.asUInt64() != 0;
    case Json::realValue: return value.asDouble() != 0.0;
    case Json::stringValue: return !value.asString().empty();
    case Json::arrayValue:
    case Json::objectValue: return !value.empty();
    default: return false;
    }
}

std::vector<InfoRow> deviceInfoRows(const Json::Value& camera, const std::string& rtspUrl1Field) {
    auto text = [&](const char* key) { return camera[key].asString(); };
    const std::string web = text("sWebURL");
    const std::string rtsp1 = text("sRTSPURL1");
    const std::string rtsp2 = text("sRTSPURL2");
    const std::string rtsp3 = text("sRTSPURL3");
    const bool numbered = !rtsp2.empty();

    std::vector<InfoRow> rows{
        {"Device Name", orNotAvailable(text("sDeviceName"))},
        {"Model Name", orNotAvailable(text("sModelName"))},
        {"DHCP", dhcpEnabled(camera["bDHCP"]) ? "Enable" : "Disable"},
        {"IP Address", orNotAvailable(text("sIP"))},
        {"MAC Address", orNotAvailable(text("sMac"))},
        {"Subnet Mask", orNotAvailable(text("sNetMask"))},
        {"Gateway", orNotAvailable(text("sGateWay"))},
        {"Firmware version", orNotAvailable(text("sVersion"))},
        {"Web URL", web.empty() ? "http://" + text("sIP") + ":80" : web},
        {"Web Port", webPort(web)},
    };
    if (rtsp1.empty()) rows.push_back({"RTSP URL", "N/A"});
    else rows.push_back({numbered ? "RTSP URL 1" : "RTSP URL", rtspUrl1Field});
    rows.push_back({numbered ? "RTSP Port 1" : "RTSP Port", rtspPort(rtsp1)});
    if (!rtsp2.empty()) {
        rows.push_back({"RTSP URL 2", rtsp2});
        rows.push_back({"RTSP Port 2", rtspPort(rtsp2)});
    }
    if (!rtsp3.empty()) {
        rows.push_back({"RTSP URL 3", rtsp3});
        rows.push_back({"RTSP Port 3", rtspPort(rtsp3)});
    }
    return rows;
}

}  // namespace rules
