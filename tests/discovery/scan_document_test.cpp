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
}

TEST_F(ScanDocument, ADocumentThatDoesNotFitWritesNothing) {
    parse(ReplyBuilder().camera(ReplyCamera{}).bytes());
    std::vector<DeviceInfo> devices(ZELK_MAX_DEVICES);
    std::memset(devices.data(), 'z', sizeof(DeviceInfo));
    char buffer[64];
    std::memset(buffer, 'q', sizeof buffer);
    int count = -7;
    int textLength = sizeof buffer;
    EXPECT_EQ(zelk::_generatePacketInfo(&count, devices.data(), &textLength, buffer), ZELK_ERR_TEXT_TOO_LONG);
    EXPECT_EQ(count, -7);
    EXPECT_EQ(textLength, 64);
    EXPECT_EQ(buffer[0], 'q');
    EXPECT_EQ(buffer[63], 'q');
    EXPECT_EQ(devices[0].deviceName[0], 'z');
    EXPECT_EQ(traces.count("[textLength into _generatePacketInfo] Can not fit scan document into buffer\n"), 1);
}

TEST_F(ScanDocument, ADocumentThatExactlyFitsWithItsZeroIsWritten) {
    const int needed = static_cast<int>(generate().text.size()) + 1;
    EXPECT_EQ(generate(needed).result, ZELK_OK);
    EXPECT_EQ(generate(needed - 1).result, ZELK_ERR_TEXT_TOO_LONG);
}

}  // namespace
