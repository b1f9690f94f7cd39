#include "scan_document.h"

#include <json/json.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device_table.h"
#include "text.h"
#include "trace.h"

namespace zelk {

namespace {

bool g_lastSearchDropped = false;

std::string addressText(const uint8_t* bytes) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

std::string macText(const uint8_t* bytes) {
    char text[18];
    std::snprintf(text, sizeof text, "%2.2x-%2.2x-%2.2x-%2.2x-%2.2x-%2.2x", bytes[0], bytes[1], bytes[2],
                  bytes[3], bytes[4], bytes[5]);
    return text;
}

std::string slotText(const DeviceRecord& record, int slot) {
    return fieldText(record.slots[slot].value, SLOT_SIZE);
}

std::string accountText(const DeviceRecord& record, int offset, size_t size) {
    return fieldText(reinterpret_cast<const char*>(record.account) + offset, size);
}

std::string userIdText(const DeviceRecord& record) {
    return accountText(record, 0, ACCOUNT_PASSWORD_OFFSET);
}

std::string passwordText(const DeviceRecord& record) {
    return accountText(record, ACCOUNT_PASSWORD_OFFSET, 256);
}

// A version of one or two parts is completed with ".0".
std::string documentVersion(const std::string& version) {
    std::vector<std::u16string> parts;
    if (splitText(widenText(version), u".", parts) <= 2) return version + ".0";
    return version;
}

// The pass over every pair of cameras reports each pair as different: a camera
// answering again was already refused when its reply was parsed.
void traceDuplicatePass(const DeviceTable& table) {
    for (int a = 0; a < table.count - 1; ++a) {
        for (int b = a + 1; b < table.count; ++b)
            debugTrace("[strCompIP into _generatePacketInfo] Can not same ip cameras!!\n");
    }
}

// Texts go into the document as valid UTF-8 (cameraText): the writer escapes
// them faithfully and the reader gives back exactly what was stored.
Json::Value cameraObject(const DeviceRecord& record) {
    Json::Value camera(Json::objectValue);
    camera["sDeviceName"] = cameraText(slotText(record, SLOT_NAME));
    camera["sIP"] = addressText(record.network + NET_IP);
    camera["sGateWay"] = addressText(record.network + NET_GATEWAY);
    camera["sNetMask"] = addressText(record.network + NET_MASK);
    camera["sMac"] = macText(record.network + NET_MAC);
    camera["sModelName"] = cameraText(slotText(record, SLOT_MODEL));
    camera["sVersion"] = documentVersion(cameraText(slotText(record, SLOT_VERSION)));
    camera["bDHCP"] = record.network[NET_DHCP] != 0;
    camera["sUserID"] = cameraText(userIdText(record));
    camera["sPW"] = cameraText(passwordText(record));
    camera["sRTSPURL1"] = cameraText(fieldText(record.rtspUrl1));
    camera["sRTSPURL2"] = cameraText(fieldText(record.rtspUrl2));
    camera["sRTSPURL3"] = cameraText(fieldText(record.rtspUrl3));
    camera["sWebURL"] = cameraText(fieldText(record.webUrl));
    return camera;
}

// The document of the first `count` cameras of the table.
std::string documentText(const DeviceTable& table, int count) {
    Json::Value scanData;  // stays null when no camera answered
    for (int k = 0; k < count; ++k) {
        scanData["oDATA_" + std::to_string(k)] = cameraObject(table.records[k]);
    }
    Json::Value root;
    root["oScanData"] = scanData;
    root["nNOIPCAM"] = count;
    return Json::StyledWriter().write(root);
}

bool fits(const std::string& text, long capacity) { return static_cast<long>(text.size()) + 1 <= capacity; }

// The most cameras, in arrival order, whose document fits `capacity`
// (with its zero), and that document; -1 when not even the empty one fits.
// The document grows with every camera, so the largest count is searched
// by halving rather than by writing one document per count.
int camerasThatFit(const DeviceTable& table, int count, long capacity, std::string& text) {
    text = documentText(table, count);
    if (fits(text, capacity)) return count;
    int low = -1;  // the largest count known to fit
    int high = count;  // the smallest count known not to fit
    std::string lowText;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        std::string middleText = documentText(table, middle);
        if (fits(middleText, capacity)) {
            low = middle;
            lowText = std::move(middleText);
        } else {
            high = middle;
        }
    }
    text = std::move(lowText);
    return low;
}

}  // namespace

// Every text field ends with a zero inside its width, so no reader runs into the next field.
void fillDeviceInfo(const DeviceRecord& record, DeviceInfo& info) {
    std::memset(&info, 0, sizeof info);
    setField(info.deviceName, slotText(record, SLOT_NAME));
    setField(info.ipAddress, addressText(record.network + NET_IP));
    setField(info.gateway, addressText(record.network + NET_GATEWAY));
    setField(info.subnetMask, addressText(record.network + NET_MASK));
    setField(info.macAddress, macText(record.network + NET_MAC));
    setField(info.modelName, slotText(record, SLOT_MODEL));
    setField(info.firmwareVersion, slotText(record, SLOT_VERSION));
    setField(info.dhcp, std::to_string(record.network[NET_DHCP]));
    setField(info.userId, userIdText(record));
    setField(info.password, passwordText(record));
    setField(info.rtspUrl1, fieldText(record.rtspUrl1));
    setField(info.rtspUrl2, fieldText(record.rtspUrl2));
    setField(info.rtspUrl3, fieldText(record.rtspUrl3));
    setField(info.webUrl, fieldText(record.webUrl));
}

int _generatePacketInfo(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText) {
    DeviceTable& table = g_deviceTable;
    traceDuplicatePass(table);
    const int stored = table.count;
    const bool tableWasFull = table.full;
    table.count = 0;
    table.full = false;

    std::string text;
    const int count = camerasThatFit(table, stored, *textLength, text);
    g_lastSearchDropped = tableWasFull || std::max(count, 0) < stored;
    if (count < 0) {
        debugTrace("[textLength into _generatePacketInfo] Can not fit scan document into buffer\n");
        return ZELK_ERR_TEXT_TOO_LONG;
    }
    // A caller's buffer too small for every camera still gets the cameras
    // that answered first: one sender's long texts cannot hide the others.
    for (int k = count; k < stored; ++k)
        debugTrace("[oDATA into _generatePacketInfo] Can not fit camera into buffer, dropped\n");
    for (int k = 0; k < count; ++k) fillDeviceInfo(table.records[k], devices[k]);
    *deviceCount = count;
    setLastSearchCount(count);
    std::memcpy(scanText, text.c_str(), text.size() + 1);
    *textLength = static_cast<int>(text.size());
    return ZELK_OK;
}

}  // namespace zelk

int zelk_last_search_dropped() { return zelk::g_lastSearchDropped ? 1 : 0; }
