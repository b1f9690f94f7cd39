// The scan document round trip: hostile bytes in every text field of the
// table, up to the full width and without a terminator. The document must
// parse back, every text read back must be the camera-text decoding of the
// stored bytes (the version with its ".0" rule), and the caller's records
// must keep the camera's own bytes.
//
// Input: one byte for the number of records (up to 16; the whole table at
// its worst is a unit test's), then per record the network item's 24 bytes
// and each text field as a two-byte length and its bytes (a length past the
// field's width fills it with no zero).
#include <json/json.h>

#include <cstring>
#include <string>
#include <vector>

#include "device_table.h"
#include "fuzz_input.h"
#include "scan_document.h"
#include "text.h"
#include "trace.h"
#include "zelk.h"

namespace {

void fill(FuzzInput& in, char* field, size_t width) {
    const size_t low = in.u8();
    const std::string bytes = in.bytes(low + (in.u8() & 1) * 256);
    std::memset(field, 0, width);
    std::memcpy(field, bytes.data(), std::min(width, bytes.size()));
}

void readRecord(FuzzInput& in, zelk::DeviceRecord& r) {
    r = zelk::DeviceRecord{};
    const std::string network = in.bytes(zelk::NETWORK_ITEM_SIZE);
    std::memcpy(r.network, network.data(), network.size());
    for (int slot = 0; slot < zelk::SLOT_COUNT; ++slot) fill(in, r.slots[slot].value, zelk::SLOT_SIZE);
    fill(in, reinterpret_cast<char*>(r.account), zelk::ACCOUNT_PASSWORD_OFFSET);
    fill(in, reinterpret_cast<char*>(r.account) + zelk::ACCOUNT_PASSWORD_OFFSET,
         zelk::ACCOUNT_ITEM_SIZE - zelk::ACCOUNT_PASSWORD_OFFSET);
    fill(in, r.rtspUrl1, sizeof r.rtspUrl1);
    fill(in, r.rtspUrl2, sizeof r.rtspUrl2);
    fill(in, r.rtspUrl3, sizeof r.rtspUrl3);
    fill(in, r.webUrl, sizeof r.webUrl);
}

bool wellFormedUtf8(const std::string& text) { return zelk::cameraText(text) == text; }

// A text as the document must give it back, and its own properties.
std::string expectedText(const std::string& stored) {
    const std::string shown = zelk::cameraText(stored);
    FUZZ_CHECK(wellFormedUtf8(shown));
    FUZZ_CHECK(zelk::cameraTextWide(shown) == zelk::cameraTextWide(stored));
    FUZZ_CHECK(shown.size() >= stored.size() && shown.size() <= 2 * stored.size());
    return shown;
}

void checkText(const Json::Value& camera, const char* key, const std::string& stored) {
    FUZZ_CHECK(camera[key].isString());
    FUZZ_CHECK(camera[key].asString() == expectedText(stored));
}

void checkCopied(const char* infoField, size_t width, const std::string& stored) {
    FUZZ_CHECK(std::string(infoField) == stored.substr(0, width - 1));
}

void checkCamera(const Json::Value& camera, const zelk::DeviceRecord& r, const DeviceInfo& info) {
    const auto slot = [&](int s) { return zelk::fieldText(r.slots[s].value, zelk::SLOT_SIZE); };
    const auto account = [&](int offset, size_t width) {
        return zelk::fieldText(reinterpret_cast<const char*>(r.account) + offset, width);
    };
    const std::string user = account(0, zelk::ACCOUNT_PASSWORD_OFFSET);
    const std::string password = account(zelk::ACCOUNT_PASSWORD_OFFSET, 256);
    checkText(camera, "sDeviceName", slot(zelk::SLOT_NAME));
    checkText(camera, "sModelName", slot(zelk::SLOT_MODEL));
    checkText(camera, "sUserID", user);
    checkText(camera, "sPW", password);
    checkText(camera, "sRTSPURL1", zelk::fieldText(r.rtspUrl1));
    checkText(camera, "sRTSPURL2", zelk::fieldText(r.rtspUrl2));
    checkText(camera, "sRTSPURL3", zelk::fieldText(r.rtspUrl3));
    checkText(camera, "sWebURL", zelk::fieldText(r.webUrl));

    const std::string version = expectedText(slot(zelk::SLOT_VERSION));
    std::vector<std::u16string> parts;
    const bool completed = zelk::splitText(zelk::widenText(version), u".", parts) <= 2;
    FUZZ_CHECK(camera["sVersion"].asString() == (completed ? version + ".0" : version));

    checkCopied(info.deviceName, sizeof info.deviceName, slot(zelk::SLOT_NAME));
    checkCopied(info.modelName, sizeof info.modelName, slot(zelk::SLOT_MODEL));
    checkCopied(info.firmwareVersion, sizeof info.firmwareVersion, slot(zelk::SLOT_VERSION));
    checkCopied(info.userId, sizeof info.userId, user);
    checkCopied(info.password, sizeof info.password, password);
    checkCopied(info.rtspUrl2, sizeof info.rtspUrl2, zelk::fieldText(r.rtspUrl2));
    checkCopied(info.webUrl, sizeof info.webUrl, zelk::fieldText(r.webUrl));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<DeviceInfo> devices(ZELK_MAX_DEVICES);
    static std::vector<char> text(ZELK_SCAN_TEXT_SIZE);
    static const bool silenced = (zelk::setTraceSink([](std::string_view) {}), true);
    (void)silenced;

    FuzzInput in(data, size);
    const int count = in.u8() % 17;
    zelk::DeviceTable& table = zelk::g_deviceTable;
    for (int k = 0; k < count; ++k) readRecord(in, table.records[k]);
    table.count = count;
    table.full = false;

    int listed = -1;
    int textLength = static_cast<int>(text.size());
    FUZZ_CHECK(zelk::_generatePacketInfo(&listed, devices.data(), &textLength, text.data()) == ZELK_OK);
    FUZZ_CHECK(listed == count);  // the full-size buffer holds any table
    FUZZ_CHECK(zelk_last_search_dropped() == 0);

    Json::Value document;
    FUZZ_CHECK(Json::Reader().parse(std::string(text.data(), static_cast<size_t>(textLength)), document));
    FUZZ_CHECK(document["nNOIPCAM"].asInt() == count);
    for (int k = 0; k < count; ++k) {
        const Json::Value& camera = document["oScanData"]["oDATA_" + std::to_string(k)];
        FUZZ_CHECK(camera.isObject() && camera.size() == 14);
        checkCamera(camera, table.records[k], devices[static_cast<size_t>(k)]);
    }
    return 0;
}
