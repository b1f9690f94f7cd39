#include <gtest/gtest.h>

#include <json/json.h>

#include <cstring>

#include "reply_builder.h"
#include "scan_fixture.h"
#include "text.h"

namespace {

using ParsePacket = ScanFixture;

std::vector<uint8_t> withoutLastByte(std::vector<uint8_t> bytes) {
    bytes.pop_back();
    return bytes;
}

struct DatagramCase {
    const char* what;
    std::vector<uint8_t> datagram;
    int result;
    int stored;
    const char* trace;  // a line the case must write, or null
};

TEST_F(ParsePacket, DatagramsThatAreNoSearchReplyAreNotStored) {
    const ReplyCamera cam;
    std::vector<uint8_t> badMarker = ReplyBuilder().camera(cam).bytes();
    badMarker[0] = 'X';
    const auto probe = zelk::buildProbe();
    const DatagramCase cases[] = {
        {"shorter than a header", std::vector<uint8_t>(27, 0), ZELK_ERR_PACKET_SIZE, 0,
         "[size into _parsePacket] Can not receive equal packet size\n"},
        {"wrong marker", badMarker, ZELK_ERR_MARKER, 0, "[p->marker into _parsePacket] Can not equal IDCP_MARK\n"},
        {"own probe", std::vector<uint8_t>(probe.begin(), probe.end()), ZELK_OK, 0,
         "[p->marker into _parsePacket] Can equal IDCP_MARK\n"},
        {"another workstation's set request", ReplyBuilder(zelk::CMD_SET).camera(cam).bytes(), ZELK_OK, 0, nullptr},
        {"another workstation's multi-set request", ReplyBuilder(zelk::CMD_MULTI_SET).camera(cam).bytes(), ZELK_OK,
         0, nullptr},
        {"last item runs past the end", withoutLastByte(ReplyBuilder().camera(cam).bytes()), ZELK_ERR_MALFORMED, 0,
         "[item into _parsePacket] Can not read items within packet\n"},
        {"item count larger than the items", ReplyBuilder().camera(cam).itemCount(0x7fffffff).bytes(),
         ZELK_ERR_MALFORMED, 0, "[item into _parsePacket] Can not read items within packet\n"},
        {"network item of 23 bytes", ReplyBuilder().item(zelk::ITEM_NETWORK, std::vector<uint8_t>(23, 1)).bytes(),
         ZELK_ERR_MALFORMED, 0, nullptr},
        {"account item of 387 bytes", ReplyBuilder().item(zelk::ITEM_ACCOUNT, std::vector<uint8_t>(387, 1)).bytes(),
         ZELK_ERR_MALFORMED, 0, nullptr},
        {"negative item count", ReplyBuilder().camera(cam).itemCount(-5).bytes(), ZELK_OK, 1, nullptr},
        {"a whole reply", ReplyBuilder().camera(cam).bytes(), ZELK_OK, 1, nullptr},
    };
    for (const auto& c : cases) {
        zelk::g_deviceTable.count = 0;
        traces.lines.clear();
        EXPECT_EQ(parse(c.datagram), c.result) << c.what;
        EXPECT_EQ(zelk::g_deviceTable.count, c.stored) << c.what;
        if (c.trace != nullptr) {
            EXPECT_EQ(traces.count(c.trace), 1) << c.what;
        }
    }
}

TEST_F(ParsePacket, AReplyWithoutItemsTakesACleanRecord) {
    ReplyCamera earlier;
    earlier.rtsp1 = "rtsp://old";
    parse(ReplyBuilder().camera(earlier).bytes());
    generate();
    // The next search's first camera sends no items: nothing of the earlier camera shows.
    parse(ReplyBuilder().camera(earlier).itemCount(0).bytes());
    const ScanResult r = generate();
    ASSERT_EQ(r.count, 1);
    EXPECT_STREQ(r.devices[0].ipAddress, "0.0.0.0");
    EXPECT_STREQ(r.devices[0].rtspUrl1, "");
    EXPECT_STREQ(r.devices[0].deviceName, "");
}

TEST_F(ParsePacket, ValuesLongerThanTheirFieldKeepTheirLeadingBytes) {
    const std::string longText(300, 'n');
    ReplyBuilder reply;
    reply.text(0x0101, longText, false).text(0x0102, longText, false).text(0x0103, "m");
    reply.network(ReplyCamera{}).account(std::string(128, 'u'), std::string(256, 'p'));
    reply.text(zelk::ITEM_RTSP_URL1, longText, false).text(zelk::ITEM_WEB_URL, longText, false);
    ASSERT_EQ(parse(reply.bytes()), ZELK_OK);
    const ScanResult r = generate();
    ASSERT_EQ(r.count, 1);

    Json::Value doc;
    ASSERT_TRUE(Json::Reader().parse(r.text, doc));
    const Json::Value& cam = doc["oScanData"]["oDATA_0"];
    // A full field never runs into the next one.
    EXPECT_EQ(cam["sDeviceName"].asString(), std::string(128, 'n'));
    EXPECT_EQ(cam["sModelName"].asString(), "m");
    EXPECT_EQ(cam["sUserID"].asString(), std::string(128, 'u'));
    EXPECT_EQ(cam["sPW"].asString(), std::string(256, 'p'));
    EXPECT_EQ(cam["sRTSPURL1"].asString(), std::string(255, 'n'));
    EXPECT_EQ(cam["sWebURL"].asString(), std::string(128, 'n'));

    const DeviceInfo& d = r.devices[0];
    EXPECT_EQ(zelk::fieldText(d.deviceName), std::string(59, 'n'));
    EXPECT_EQ(zelk::fieldText(d.firmwareVersion), std::string(128, 'n'));
    EXPECT_EQ(zelk::fieldText(d.userId), std::string(128, 'u'));
    EXPECT_EQ(zelk::fieldText(d.password), std::string(254, 'p'));
    EXPECT_EQ(zelk::fieldText(d.rtspUrl1), std::string(254, 'n'));
    EXPECT_EQ(zelk::fieldText(d.webUrl), std::string(128, 'n'));
    EXPECT_EQ(d.deviceName[59], '\0');
}

TEST_F(ParsePacket, ItemsBeyondTheFourSlotsStillReachTheirFields) {
    ReplyCamera cam;
    ReplyBuilder reply;
    reply.text(0x0101, "1.0.0").text(0x0102, "Gate").text(0x0103, "CX").text(0x0104, "x").text(0x0105, "y");
    reply.network(cam).account("root", "pw").text(zelk::ITEM_RTSP_URL3, "rtsp://three").text(9, "not url 3");
    reply.text(zelk::ITEM_WEB_URL, "http://cam");
    ASSERT_EQ(parse(reply.bytes()), ZELK_OK);
    const ScanResult r = generate();
    const DeviceInfo& d = r.devices[0];
    EXPECT_STREQ(d.deviceName, "Gate");
    EXPECT_STREQ(d.password, "pw");
    EXPECT_STREQ(d.rtspUrl3, "rtsp://three");
    EXPECT_STREQ(d.webUrl, "http://cam");
}

TEST_F(ParsePacket, DhcpByteIsTextThatAlwaysFitsItsTwoBytes) {
    const std::pair<uint8_t, const char*> cases[] = {{0, "0"}, {1, "1"}, {9, "9"}, {25, "2"}, {255, "2"}};
    for (const auto& [byte, text] : cases) {
        zelk::g_deviceTable.count = 0;
        ReplyCamera cam;
        cam.dhcp = byte;
        parse(ReplyBuilder().camera(cam).bytes());
        const ScanResult r = generate();
        EXPECT_STREQ(r.devices[0].dhcp, text);
        Json::Value doc;
        ASSERT_TRUE(Json::Reader().parse(r.text, doc));
        EXPECT_EQ(doc["oScanData"]["oDATA_0"]["bDHCP"].asBool(), byte != 0);
    }
}

}  // namespace
