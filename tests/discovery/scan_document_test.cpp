#include <gtest/gtest.h>

#include <json/json.h>

#include <cstring>

#include "reply_builder.h"
#include "scan_fixture.h"
#include "text.h"

namespace {

using ScanDocument = ScanFixture;

ReplyCamera cameraNumber(int n) {
    ReplyCamera c;
    c.id[5] = static_cast<uint8_t>(n);
    c.id[4] = static_cast<uint8_t>(n >> 8);
    c.ip = {10, 0, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    c.name = "cam" + std::to_string(n);
    return c;
}

TEST_F(ScanDocument, OneCameraWithEveryItemGivesTheExactText) {
    ReplyCamera c;
    c.rtsp1 = "rtsp://192.168.1.20:554/one";
    c.rtsp2 = "rtsp://192.168.1.20:554/two";
    c.rtsp3 = "rtsp://192.168.1.20:554/three";
    c.web = "http://192.168.1.20:8080";
    c.dhcp = 1;
    c.version = "1.2";
    ASSERT_EQ(parse(ReplyBuilder().camera(c).bytes()), ZELK_OK);

    const ScanResult r = generate();
    ASSERT_EQ(r.result, ZELK_OK);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.text,
              "{\n"
              "   \"nNOIPCAM\" : 1,\n"
              "   \"oScanData\" : {\n"
              "      \"oDATA_0\" : {\n"
              "         \"bDHCP\" : true,\n"
              "         \"sDeviceName\" : \"Lobby\",\n"
              "         \"sGateWay\" : \"192.168.1.1\",\n"
              "         \"sIP\" : \"192.168.1.20\",\n"
              "         \"sMac\" : \"02-1a-2b-3c-4d-5e\",\n"
              "         \"sModelName\" : \"CX-200\",\n"
              "         \"sNetMask\" : \"255.255.255.0\",\n"
              "         \"sPW\" : \"secret\",\n"
              "         \"sRTSPURL1\" : \"rtsp://192.168.1.20:554/one\",\n"
              "         \"sRTSPURL2\" : \"rtsp://192.168.1.20:554/two\",\n"
              "         \"sRTSPURL3\" : \"rtsp://192.168.1.20:554/three\",\n"
              "         \"sUserID\" : \"admin\",\n"
              "         \"sVersion\" : \"1.2.0\",\n"
              "         \"sWebURL\" : \"http://192.168.1.20:8080\"\n"
              "      }\n"
              "   }\n"
              "}\n");

    const DeviceInfo& d = r.devices[0];
    EXPECT_STREQ(d.deviceName, "Lobby");
    EXPECT_STREQ(d.ipAddress, "192.168.1.20");
    EXPECT_STREQ(d.gateway, "192.168.1.1");
    EXPECT_STREQ(d.subnetMask, "255.255.255.0");
    EXPECT_STREQ(d.macAddress, "02-1a-2b-3c-4d-5e");
    EXPECT_STREQ(d.modelName, "CX-200");
    EXPECT_STREQ(d.firmwareVersion, "1.2");  // the document's ".0" is not added here
    EXPECT_STREQ(d.userId, "admin");
    EXPECT_STREQ(d.password, "secret");
    EXPECT_STREQ(d.rtspUrl3, "rtsp://192.168.1.20:554/three");
    EXPECT_STREQ(d.webUrl, "http://192.168.1.20:8080");
    EXPECT_STREQ(d.dhcp, "1");
}

TEST_F(ScanDocument, NoCameraGivesCountZeroAndNullScanData) {
    const ScanResult r = generate();
    EXPECT_EQ(r.result, ZELK_OK);
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.text, "{\n   \"nNOIPCAM\" : 0,\n   \"oScanData\" : null\n}\n");
}

TEST_F(ScanDocument, VersionIsCompletedWhenItHasAtMostTwoParts) {
    const std::pair<std::string, std::string> cases[] = {
        {"1.2", "1.2.0"}, {"2", "2.0"}, {"1.2.3", "1.2.3"}, {"1.2.3.4", "1.2.3.4"},
        {"1..2", "1..2.0"}, {"", ".0"},
    };
    for (const auto& [version, shown] : cases) {
        zelk::g_deviceTable.count = 0;
        ReplyCamera c;
        c.version = version;
        parse(ReplyBuilder().camera(c).bytes());
        const ScanResult r = generate();
        Json::Value doc;
        ASSERT_TRUE(Json::Reader().parse(r.text, doc));
        EXPECT_EQ(doc["oScanData"]["oDATA_0"]["sVersion"].asString(), shown) << version;
        EXPECT_EQ(std::string(r.devices[0].firmwareVersion), version);
    }
}

TEST_F(ScanDocument, RepeatedRepliesOfOneCameraAreListedOnceKeepingTheFirst) {
    ReplyCamera first;
    ReplyCamera again = first;
    again.name = "Renamed";
    parse(ReplyBuilder().camera(first).bytes());
    parse(ReplyBuilder().camera(again).bytes());
    parse(ReplyBuilder().camera(again).bytes());
    const ScanResult r = generate();
    EXPECT_EQ(r.count, 1);
    EXPECT_STREQ(r.devices[0].deviceName, "Lobby");
}

TEST_F(ScanDocument, SameAddressOrSameMacAloneAreDifferentCameras) {
    ReplyCamera a;
    ReplyCamera sameIp = a;
    sameIp.id[5] = 0x5f;
    ReplyCamera sameMac = a;
    sameMac.ip[3] = 21;
    ReplyCamera other = a;
    other.id[5] = 0x60;
    other.ip[3] = 22;
    for (const auto& c : {a, sameIp, sameMac, other}) parse(ReplyBuilder().camera(c).bytes());
    const ScanResult r = generate();
    EXPECT_EQ(r.count, 4);
    // Every pair of distinct cameras is compared once.
    EXPECT_EQ(traces.count("[strCompIP into _generatePacketInfo] Can not same ip cameras!!\n"), 6);
}

TEST_F(ScanDocument, MembersOfElevenCamerasFollowTextOrderAndAllAreFound) {
    for (int n = 0; n < 11; ++n) parse(ReplyBuilder().camera(cameraNumber(n)).bytes());
    const ScanResult r = generate();
    ASSERT_EQ(r.count, 11);
    const size_t one = r.text.find("\"oDATA_1\"");
    const size_t ten = r.text.find("\"oDATA_10\"");
    const size_t two = r.text.find("\"oDATA_2\"");
    EXPECT_LT(one, ten);
    EXPECT_LT(ten, two);
    Json::Value doc;
    ASSERT_TRUE(Json::Reader().parse(r.text, doc));
    for (int n = 0; n < 11; ++n) {
        EXPECT_EQ(doc["oScanData"]["oDATA_" + std::to_string(n)]["sDeviceName"].asString(),
                  "cam" + std::to_string(n));
    }
}

TEST_F(ScanDocument, FiveHundredCamerasAnsweringTwiceAreAllListedAndAFurtherOneIsDropped) {
    traces.lines.reserve(130000);
    for (int round = 0; round < 2; ++round) {
        for (int n = 0; n < ZELK_MAX_DEVICES; ++n) parse(ReplyBuilder().camera(cameraNumber(n)).bytes());
    }
    parse(ReplyBuilder().camera(cameraNumber(ZELK_MAX_DEVICES)).bytes());
    EXPECT_EQ(traces.count("[count into _parsePacket] Can not store more cameras, the table is full\n"), 1);

    const ScanResult r = generate();
    ASSERT_EQ(r.result, ZELK_OK);
    ASSERT_EQ(r.count, ZELK_MAX_DEVICES);
    EXPECT_STREQ(r.devices[0].deviceName, "cam0");
    EXPECT_STREQ(r.devices[ZELK_MAX_DEVICES - 1].deviceName, "cam499");
    EXPECT_STREQ(r.devices[ZELK_MAX_DEVICES - 1].ipAddress, "10.0.1.243");
    EXPECT_EQ(zelk_last_search_dropped(), 1);  // the turned-away camera is not hidden

    parse(ReplyBuilder().camera(cameraNumber(0)).bytes());
    generate();
    EXPECT_EQ(zelk_last_search_dropped(), 0);  // the next search starts afresh
}

TEST_F(ScanDocument, ABufferTooSmallForTheEmptyDocumentWritesNothing) {
    parse(ReplyBuilder().camera(ReplyCamera{}).bytes());
    std::vector<DeviceInfo> devices(ZELK_MAX_DEVICES);
    std::memset(devices.data(), 'z', sizeof(DeviceInfo));
    char buffer[32];
    std::memset(buffer, 'q', sizeof buffer);
    int count = -7;
    int textLength = sizeof buffer;
    EXPECT_EQ(zelk::_generatePacketInfo(&count, devices.data(), &textLength, buffer), ZELK_ERR_TEXT_TOO_LONG);
    EXPECT_EQ(count, -7);
    EXPECT_EQ(textLength, 32);
    EXPECT_EQ(buffer[0], 'q');
    EXPECT_EQ(buffer[31], 'q');
    EXPECT_EQ(devices[0].deviceName[0], 'z');
    EXPECT_EQ(traces.count("[textLength into _generatePacketInfo] Can not fit scan document into buffer\n"), 1);
    EXPECT_EQ(zelk_last_search_dropped(), 1);
}

TEST_F(ScanDocument, ACameraWhoseDocumentMissesItsZeroByOneByteIsDroppedAndSaid) {
    parse(ReplyBuilder().camera(ReplyCamera{}).bytes());
    const int needed = static_cast<int>(generate().text.size()) + 1;
    EXPECT_EQ(zelk_last_search_dropped(), 0);

    parse(ReplyBuilder().camera(ReplyCamera{}).bytes());
    const ScanResult cut = generate(needed - 1);
    ASSERT_EQ(cut.result, ZELK_OK);
    EXPECT_EQ(cut.count, 0);
    EXPECT_EQ(cut.text, "{\n   \"nNOIPCAM\" : 0,\n   \"oScanData\" : null\n}\n");
    EXPECT_EQ(zelk_last_search_dropped(), 1);
    EXPECT_EQ(traces.count("[oDATA into _generatePacketInfo] Can not fit camera into buffer, dropped\n"), 1);
}

// One sender answering with 250 cameras whose texts are all control bytes,
// each escaped as six bytes, next to three ordinary cameras that answered first.
class RogueSender : public ScanDocument {
protected:
    static constexpr int GOOD = 3;
    static constexpr int ROGUE = 250;

    void SetUp() override {
        ScanDocument::SetUp();
        traces.lines.reserve(40000);
        for (int n = 0; n < GOOD; ++n) parse(ReplyBuilder().camera(cameraNumber(n)).bytes());
        std::string control;
        for (int i = 0; i < 127; ++i) control.push_back(static_cast<char>(1 + i % 31));
        for (int n = 0; n < ROGUE; ++n) {
            ReplyCamera c = cameraNumber(1000 + n);
            c.version = c.name = c.model = c.userId = control;
            c.password = control + control;
            const std::vector<uint8_t> reply = ReplyBuilder().camera(c).text(zelk::ITEM_WEB_URL, control).bytes();
            ASSERT_LT(reply.size(), 1024u);
            parse(reply);
        }
    }

    void expectGoodCamerasFirst(const ScanResult& r) {
        Json::Value doc;
        ASSERT_TRUE(Json::Reader().parse(r.text, doc));
        EXPECT_EQ(doc["nNOIPCAM"].asInt(), r.count);
        for (int n = 0; n < GOOD; ++n) {
            EXPECT_EQ(doc["oScanData"]["oDATA_" + std::to_string(n)]["sDeviceName"].asString(), "cam" + std::to_string(n));
            EXPECT_STREQ(r.devices[n].deviceName, ("cam" + std::to_string(n)).c_str());
        }
    }
};

TEST_F(RogueSender, TheLibrarysBufferListsEveryCamera) {
    const ScanResult r = generate();
    ASSERT_EQ(r.result, ZELK_OK);
    EXPECT_EQ(r.count, GOOD + ROGUE);
    EXPECT_EQ(zelk_last_search_dropped(), 0);
    expectGoodCamerasFirst(r);
}

TEST_F(RogueSender, ASmallerBufferKeepsTheCamerasThatAnsweredFirst) {
    const int capacity = 102400;
    const ScanResult r = generate(capacity);
    ASSERT_EQ(r.result, ZELK_OK);
    EXPECT_GT(r.count, GOOD);
    EXPECT_LT(r.count, GOOD + ROGUE);
    EXPECT_LT(static_cast<int>(r.text.size()), capacity);
    EXPECT_EQ(zelk_last_search_dropped(), 1);
    EXPECT_EQ(traces.count("[oDATA into _generatePacketInfo] Can not fit camera into buffer, dropped\n"),
              GOOD + ROGUE - r.count);
    expectGoodCamerasFirst(r);
}

// Every text field full to its width, no zero, every byte escaped as six.
TEST_F(ScanDocument, TheWholeTableAtItsWorstFitsTheLibrarysBuffer) {
    zelk::DeviceRecord worst{};
    std::memset(&worst, 0x01, sizeof worst);
    for (int k = 0; k < ZELK_MAX_DEVICES; ++k) zelk::g_deviceTable.records[k] = worst;
    zelk::g_deviceTable.count = ZELK_MAX_DEVICES;
    const ScanResult r = generate();
    ASSERT_EQ(r.result, ZELK_OK);
    EXPECT_EQ(r.count, ZELK_MAX_DEVICES);
    EXPECT_EQ(zelk_last_search_dropped(), 0);
}

struct HostileText {
    const char* what;
    std::string bytes;
    std::string shown;  // what the document gives back, as UTF-8
};

// Every text of the document is the camera's text decoded (UTF-8 where
// well-formed, else Latin-1); the caller's records keep the camera's bytes.
TEST_F(ScanDocument, HostileTextsComeBackAsTheCameraSentThem) {
    const HostileText cases[] = {
        {"Latin-1", "Caf\xe9 Bar", "Caf\xc3\xa9 Bar"},
        {"Latin-1 password", "p\xe4sswort", "p\xc3\xa4sswort"},
        {"UTF-8", "Caf\xc3\xa9 \xf0\x9f\x93\xb7", "Caf\xc3\xa9 \xf0\x9f\x93\xb7"},
        {"cut sequence", "x\xe2\x82", "x\xc3\xa2\xc2\x82"},
        {"surrogate", "\xed\xa0\x80!", "\xc3\xad\xc2\xa0\xc2\x80!"},
        {"quotes and backslashes", "\"a\\\"b\\", "\"a\\\"b\\"},
        {"terminal escapes", "\x1b[2J\x1b[31mRED", "\x1b[2J\x1b[31mRED"},
        {"line breaks and tabs", "a\nb\r\tc", "a\nb\r\tc"},
        {"every control byte", "\x01\x02\x03\x07\x08\x0b\x0c\x1f\x7f", "\x01\x02\x03\x07\x08\x0b\x0c\x1f\x7f"},
        {"bytes never in UTF-8", "\xc0\xaf\xff", "\xc3\x80\xc2\xaf\xc3\xbf"},
    };
    const char* const keys[] = {"sDeviceName", "sModelName", "sUserID", "sPW", "sRTSPURL1", "sRTSPURL2",
                                "sRTSPURL3", "sWebURL"};
    for (const HostileText& c : cases) {
        zelk::g_deviceTable.count = 0;
        ReplyCamera camera;
        camera.name = camera.model = camera.userId = camera.password = c.bytes;
        camera.rtsp1 = camera.rtsp2 = camera.rtsp3 = camera.web = c.bytes;
        camera.version = "1.2.3" + c.bytes;
        ASSERT_EQ(parse(ReplyBuilder().camera(camera).bytes()), ZELK_OK) << c.what;
        const ScanResult r = generate();
        Json::Value doc;
        ASSERT_TRUE(Json::Reader().parse(r.text, doc)) << c.what;
        const Json::Value& shown = doc["oScanData"]["oDATA_0"];
        for (const char* key : keys) EXPECT_EQ(shown[key].asString(), c.shown) << c.what << " in " << key;
        EXPECT_EQ(shown["sVersion"].asString(), "1.2.3" + c.shown) << c.what;
        const DeviceInfo& d = r.devices[0];
        for (const char* field : {d.deviceName, d.modelName, d.userId, d.password, d.rtspUrl1, d.webUrl})
            EXPECT_EQ(std::string(field), c.bytes) << c.what;
        EXPECT_EQ(std::string(d.firmwareVersion), "1.2.3" + c.bytes) << c.what;
    }
}

}  // namespace
