#include "device_info_rows.h"

#include "json_truth.h"
#include "text.h"
#include "version_cell.h"

namespace {

std::u16string afterLastColon(std::u16string_view text) {
    const size_t colon = text.rfind(u':');
    return std::u16string(colon == std::u16string_view::npos ? text : text.substr(colon + 1));
}

}  // namespace

std::u16string cameraText(const Json::Value& camera, const char* key) {
    if (!camera.isObject()) return {};
    const Json::Value& member = camera[key];
    if (!member.isConvertibleTo(Json::stringValue)) return {};
    return zelk::cameraTextWide(member.asString());
}

std::u16string webPort(std::u16string_view webUrl) { return webUrl.empty() ? u"80" : afterLastColon(webUrl); }

std::u16string rtspPort(std::u16string_view rtspUrl) {
    const std::u16string part = afterLastColon(rtspUrl);
    const size_t slash = part.find(u'/');
    return slash == std::u16string::npos ? std::u16string() : part.substr(0, slash);
}

std::vector<InfoRow> deviceInfoRows(const Json::Value& camera, std::string_view rtspUrl1Field) {
    using rules::fieldCell;
    const std::u16string webUrl = cameraText(camera, "sWebURL");
    const std::u16string rtsp1 = cameraText(camera, "sRTSPURL1");
    const std::u16string rtsp2 = cameraText(camera, "sRTSPURL2");
    const std::u16string rtsp3 = cameraText(camera, "sRTSPURL3");
    const bool dhcp = camera.isObject() && jsonTruth(camera["bDHCP"]);
    // Numbers appear only when a second URL follows the first.
    const bool numbered = !rtsp2.empty();

    std::vector<InfoRow> rows{
        {u"Device Name", fieldCell(cameraText(camera, "sDeviceName"))},
        {u"Model Name", fieldCell(cameraText(camera, "sModelName"))},
        {u"DHCP", dhcp ? u"Enable" : u"Disable"},
        {u"IP Address", fieldCell(cameraText(camera, "sIP"))},
        {u"MAC Address", fieldCell(cameraText(camera, "sMac"))},
        {u"Subnet Mask", fieldCell(cameraText(camera, "sNetMask"))},
        {u"Gateway", fieldCell(cameraText(camera, "sGateWay"))},
        {u"Firmware version", fieldCell(cameraText(camera, "sVersion"))},
        {u"Web URL", webUrl.empty() ? u"http://" + cameraText(camera, "sIP") + u":80" : webUrl},
        {u"Web Port", webPort(webUrl)},
        rtsp1.empty() ? InfoRow{u"RTSP URL", u"N/A"}
                      : InfoRow{numbered ? u"RTSP URL 1" : u"RTSP URL", zelk::cameraTextWide(rtspUrl1Field)},
        {numbered ? u"RTSP Port 1" : u"RTSP Port", rtspPort(rtsp1)},
    };
    if (!rtsp2.empty()) {
        rows.push_back({u"RTSP URL 2", rtsp2});
        rows.push_back({u"RTSP Port 2", rtspPort(rtsp2)});
    }
    if (!rtsp3.empty()) {
        rows.push_back({u"RTSP URL 3", rtsp3});
        rows.push_back({u"RTSP Port 3", rtspPort(rtsp3)});
    }
    return rows;
}
