// The reply parser and the scan document it feeds, with several datagrams
// per input so that repeats, a full table and a short text buffer are reached.
//
// Input: one byte choosing the text buffer (0: ZELK_SCAN_TEXT_SIZE, else
// that many 512-byte blocks), then datagrams, each as u16 copies, u16 patch
// offset, u16 length and its bytes. Copy i carries i as u16 at the patch
// offset, so one datagram can stand for many distinct cameras.
#include <json/json.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "device_table.h"
#include "fuzz_input.h"
#include "packet.h"
#include "parse_packet.h"
#include "scan_document.h"
#include "text.h"
#include "trace.h"
#include "zelk.h"

namespace {

constexpr int MOST_DATAGRAMS = 700;  // enough to fill the table past its end

void checkField(const char* field, size_t width) { FUZZ_CHECK(strnlen(field, width) < width); }

void checkDeviceInfo(const DeviceInfo& d) {
    checkField(d.deviceName, sizeof d.deviceName);
    checkField(d.ipAddress, sizeof d.ipAddress);
    checkField(d.macAddress, sizeof d.macAddress);
    checkField(d.modelName, sizeof d.modelName);
    checkField(d.firmwareVersion, sizeof d.firmwareVersion);
    checkField(d.userId, sizeof d.userId);
    checkField(d.password, sizeof d.password);
    checkField(d.rtspUrl1, sizeof d.rtspUrl1);
    checkField(d.webUrl, sizeof d.webUrl);
    checkField(d.dhcp, sizeof d.dhcp);
}

// What the document says of camera k agrees with the record the table kept
// and with the caller's record, texts decoded by the camera-text rule.
void checkCamera(const Json::Value& camera, const zelk::DeviceRecord& record, const DeviceInfo& info) {
    FUZZ_CHECK(camera.isObject() && camera.size() == 14);
    const std::string name = zelk::fieldText(record.slots[zelk::SLOT_NAME].value, zelk::SLOT_SIZE);
    FUZZ_CHECK(camera["sDeviceName"].asString() == zelk::cameraText(name));
    FUZZ_CHECK(std::string(info.deviceName) == name.substr(0, sizeof info.deviceName - 1));
    const std::string model = zelk::fieldText(record.slots[zelk::SLOT_MODEL].value, zelk::SLOT_SIZE);
    FUZZ_CHECK(camera["sModelName"].asString() == zelk::cameraText(model));
    FUZZ_CHECK(std::string(info.modelName) == model);
    const std::string web = zelk::fieldText(record.webUrl);
    FUZZ_CHECK(camera["sWebURL"].asString() == zelk::cameraText(web));
    FUZZ_CHECK(std::string(info.webUrl) == web);
    const std::string rtsp = zelk::fieldText(record.rtspUrl1);
    FUZZ_CHECK(camera["sRTSPURL1"].asString() == zelk::cameraText(rtsp));
    FUZZ_CHECK(std::string(info.rtspUrl1) == rtsp.substr(0, sizeof info.rtspUrl1 - 1));
    FUZZ_CHECK(camera["sIP"].asString() == info.ipAddress);
    FUZZ_CHECK(camera["sMac"].asString() == info.macAddress);
    FUZZ_CHECK(camera["bDHCP"].asBool() == (record.network[zelk::NET_DHCP] != 0));
    // A password may fill all 256 bytes of its item; the caller's record holds 254 of them.
    const std::string password =
        zelk::fieldText(reinterpret_cast<const char*>(record.account) + zelk::ACCOUNT_PASSWORD_OFFSET, 256);
    FUZZ_CHECK(camera["sPW"].asString() == zelk::cameraText(password));
    FUZZ_CHECK(std::string(info.password) == password.substr(0, sizeof info.password - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<DeviceInfo> devices(ZELK_MAX_DEVICES);
    static std::vector<char> text(ZELK_SCAN_TEXT_SIZE);
    static const bool silenced = (zelk::setTraceSink([](std::string_view) {}), true);
    (void)silenced;

    FuzzInput in(data, size);
    const uint8_t blocks = in.u8();
    const int capacity = blocks == 0 ? ZELK_SCAN_TEXT_SIZE : blocks * 512;

    zelk::g_deviceTable.count = 0;
    zelk::g_deviceTable.full = false;
    int fed = 0;
    while (!in.empty() && fed < MOST_DATAGRAMS) {
        const int copies = std::max(1, static_cast<int>(in.u16()));
        const size_t patchAt = in.u16();
        std::string datagram = in.bytes(in.u16());
        for (int i = 0; i < copies && fed < MOST_DATAGRAMS; ++i, ++fed) {
            if (i > 0 && patchAt + 2 <= datagram.size()) {
                datagram[patchAt] = static_cast<char>(i & 0xFF);
                datagram[patchAt + 1] = static_cast<char>(i >> 8);
            }
            const int result = zelk::_parsePacket(reinterpret_cast<const uint8_t*>(datagram.data()),
                                                  static_cast<int>(datagram.size()));
            FUZZ_CHECK(result == ZELK_OK || result == ZELK_ERR_PACKET_SIZE || result == ZELK_ERR_MARKER ||
                       result == ZELK_ERR_MALFORMED);
            FUZZ_CHECK(zelk::g_deviceTable.count >= 0 && zelk::g_deviceTable.count <= ZELK_MAX_DEVICES);
        }
    }

    const int stored = zelk::g_deviceTable.count;
    const bool full = zelk::g_deviceTable.full;
    for (int a = 0; a < stored; ++a) {  // a camera answering again is stored once
        for (int b = a + 1; b < stored; ++b) {
            const auto& x = zelk::g_deviceTable.records[a].network;
            const auto& y = zelk::g_deviceTable.records[b].network;
            FUZZ_CHECK(std::memcmp(x + zelk::NET_IP, y + zelk::NET_IP, 4) != 0 ||
                       std::memcmp(x + zelk::NET_MAC, y + zelk::NET_MAC, 6) != 0);
        }
    }
    int count = -1;
    int textLength = capacity;
    const int result = zelk::_generatePacketInfo(&count, devices.data(), &textLength, text.data());
    FUZZ_CHECK(zelk::g_deviceTable.count == 0 && !zelk::g_deviceTable.full);
    FUZZ_CHECK(result == ZELK_OK);  // even 512 bytes hold the document of no camera
    FUZZ_CHECK(count >= 0 && count <= stored);
    FUZZ_CHECK(capacity < ZELK_SCAN_TEXT_SIZE || count == stored);  // the full-size buffer holds every camera
    FUZZ_CHECK(zelk_last_search_dropped() == ((full || count < stored) ? 1 : 0));
    FUZZ_CHECK(textLength >= 0 && textLength < capacity && text[static_cast<size_t>(textLength)] == '\0');

    Json::Value document;
    FUZZ_CHECK(Json::Reader().parse(std::string(text.data(), static_cast<size_t>(textLength)), document));
    FUZZ_CHECK(document["nNOIPCAM"].asInt() == count);
    const Json::Value& scanData = document["oScanData"];
    FUZZ_CHECK(count == 0 ? scanData.isNull() : scanData.size() == static_cast<unsigned>(count));
    for (int k = 0; k < count; ++k) {
        checkDeviceInfo(devices[static_cast<size_t>(k)]);
        checkCamera(scanData["oDATA_" + std::to_string(k)], zelk::g_deviceTable.records[k],
                    devices[static_cast<size_t>(k)]);
    }
    return 0;
}
