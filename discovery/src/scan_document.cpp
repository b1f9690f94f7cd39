#include "scan_document.h"

#include <json/json.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device_table.h"
#include "text.h"
#include "trace.h"

namespace zelk {

namespace {

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

Json::Value cameraObject(const DeviceRecord& record) {
    Json::Value camera(Json::objectValue);
    camera["sDeviceName"] = slotText(record, SLOT_NAME);
    camera["sIP"] = addressText(record.network + NET_IP);
    camera["sGateWay"] = addressText(record.network + NET_GATEWAY);
    camera["sNetMask"] = addressText(record.network + NET_MASK);
    camera["sMac"] = macText(record.network + NET_MAC);
    camera["sModelName"] = slotText(record, SLOT_MODEL);
    camera["sVersion"] = documentVersion(slotText(record, SLOT_VERSION));
    camera["bDHCP"] = record.network[NET_DHCP] != 0;
    camera["sUserID"] = userIdText(record);
    camera["sPW"] = passwordText(record);
    camera["sRTSPURL1"] = fieldText(record.rtspUrl1);
    camera["sRTSPURL2"] = fieldText(record.rtspUrl2);
    camera["sRTSPURL3"] = fieldText(record.rtspUrl3);
    camera["sWebURL"] = fieldText(record.webUrl);
    return camera;
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
    const int count = table.count;
    table.count = 0;

    Json::Value scanData;  // stays null when no camera answered
    for (int k = 0; k < count; ++k) {
        scanData["oDATA_" + std::to_string(k)] = cameraObject(table.records[k]);
    }
    Json::Value root;
    root["oScanData"] = scanData;
    root["nNOIPCAM"] = count;
    const std::string text = Json::StyledWriter().write(root);

    const long capacity = *textLength;
    if (static_cast<long>(text.size()) + 1 > capacity) {
        debugTrace("[textLength into _generatePacketInfo] Can not fit scan document into buffer\n");
        return ZELK_ERR_TEXT_TOO_LONG;
    }
    for (int k = 0; k < count; ++k) fillDeviceInfo(table.records[k], devices[k]);
    *deviceCount = count;
    setLastSearchCount(count);
    std::memcpy(scanText, text.c_str(), text.size() + 1);
    *textLength = static_cast<int>(text.size());
    return ZELK_OK;
}

}  // namespace zelk
