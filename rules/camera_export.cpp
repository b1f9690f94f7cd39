#include "camera_export.h"

#include <json/json.h>

#include <memory>
#include <sstream>

#include "text.h"

namespace rules {

namespace {

template <size_t N>
std::string field(const char (&text)[N]) {
    return zelk::cameraText(zelk::fieldText(text, N));
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void csvLine(std::string& out, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += csvField(fields[i]);
    }
    out += "\r\n";
}

}  // namespace

ExportedCamera exportedCamera(const DeviceInfo& record) {
    ExportedCamera camera;
    camera.deviceName = field(record.deviceName);
    camera.ipAddress = field(record.ipAddress);
    camera.macAddress = field(record.macAddress);
    camera.modelName = field(record.modelName);
    camera.firmwareVersion = field(record.firmwareVersion);
    camera.subnetMask = field(record.subnetMask);
    camera.gateway = field(record.gateway);
    const std::string dhcp = zelk::fieldText(record.dhcp);
    camera.dhcp = !dhcp.empty() && dhcp != "0";
    camera.webUrl = field(record.webUrl);
    camera.rtspUrls = {field(record.rtspUrl1), field(record.rtspUrl2), field(record.rtspUrl3)};
    return camera;
}

std::string camerasCsv(const std::vector<ExportedCamera>& cameras) {
    std::string out;
    csvLine(out, {"Device Name", "IP Address", "MAC Address", "Model Name", "Firmware Version", "Subnet Mask",
                  "Gateway", "DHCP", "Web URL", "RTSP URL 1", "RTSP URL 2", "RTSP URL 3"});
    for (const ExportedCamera& c : cameras) {
        std::vector<std::string> fields{c.deviceName, c.ipAddress,  c.macAddress,          c.modelName,
                                        c.firmwareVersion, c.subnetMask, c.gateway, c.dhcp ? "true" : "false",
                                        c.webUrl};
        for (size_t i = 0; i < 3; ++i) fields.push_back(i < c.rtspUrls.size() ? c.rtspUrls[i] : std::string());
        csvLine(out, fields);
    }
    return out;
}

std::string camerasJson(const std::vector<ExportedCamera>& cameras) {
    Json::Value list(Json::arrayValue);
    for (const ExportedCamera& c : cameras) {
        Json::Value camera(Json::objectValue);
        camera["deviceName"] = c.deviceName;
        camera["ipAddress"] = c.ipAddress;
        camera["macAddress"] = c.macAddress;
        camera["modelName"] = c.modelName;
        camera["firmwareVersion"] = c.firmwareVersion;
        camera["subnetMask"] = c.subnetMask;
        camera["gateway"] = c.gateway;
        camera["dhcp"] = c.dhcp;
        camera["webUrl"] = c.webUrl;
        Json::Value rtsp(Json::arrayValue);
        for (const std::string& url : c.rtspUrls) rtsp.append(url);
        camera["rtspUrls"] = rtsp;
        list.append(camera);
    }
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, list) + "\n";
}

}  // namespace rules
