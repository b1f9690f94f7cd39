// The whole search on two private segments: A (192.168.1.0/24, the default
// route) and B (192.168.2.0/24), each with stand-in cameras on its far end.
#include <gtest/gtest.h>

#include <json/json.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <set>

#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "trace_capture.h"
#include "zelk.h"
#include "zelk_search.h"
#include "zelk_testing.h"

namespace {

const char* const WORKSTATION_A = "192.168.1.10";
const char* const WORKSTATION_B = "192.168.2.10";

ReplyCamera camera(uint8_t segment, uint8_t host) {
    ReplyCamera c;
    c.id[4] = segment;
    c.id[5] = host;
    c.ip = {192, 168, segment, host};
    c.name = "cam-" + std::to_string(segment) + "-" + std::to_string(host);
    return c;
}

std::vector<uint8_t> replyOf(uint8_t segment, uint8_t host) {
    return ReplyBuilder().camera(camera(segment, host)).bytes();
}

std::set<std::string> names(const zelk::SearchResult& s) {
    std::set<std::string> all;
    for (int i = 0; i < s.count; ++i) all.insert(s.devices[i].deviceName);
    return all;
}

class SearchLab : public ::testing::Test {
protected:
    void SetUp() override { zelk::setReceiveWindowForTests(std::chrono::milliseconds(1200)); }
    void TearDown() override { zelk::setReceiveWindowForTests(std::chrono::milliseconds(0)); }

    TraceCapture traces;
};

TEST_F(SearchLab, NoCameraGivesZeroAndHearsItsOwnProbe) {
    const zelk::SearchResult s = zelk::searchCameras("");
    EXPECT_EQ(s.result, ZELK_OK);
    EXPECT_EQ(s.count, 0);
    EXPECT_NE(s.text.find("\"nNOIPCAM\" : 0"), std::string::npos);
    EXPECT_GE(traces.count("[first into _discovery_device] Can not parse packet\n"), 1);
    EXPECT_GE(traces.count("[select into _discovery_device] Can select timeout...\n"), 1);
    EXPECT_EQ(m_sock, -1);
}

TEST_F(SearchLab, EveryCameraIsListedOnceAlsoWhenItAnswersTwice) {
    Responder a1("camA", {replyOf(1, 21)});
    Responder a2("camA", {replyOf(1, 22)}, 2);
    Responder a3("camA", {replyOf(1, 23)});
    const zelk::SearchResult s = zelk::searchCameras("");
    ASSERT_EQ(s.result, ZELK_OK);
    EXPECT_EQ(names(s), (std::set<std::string>{"cam-1-21", "cam-1-22", "cam-1-23"}));
    Json::Value doc;
    ASSERT_TRUE(Json::Reader().parse(s.text, doc));
    EXPECT_EQ(doc["nNOIPCAM"].asInt(), 3);
    EXPECT_EQ(a1.probesHeard(), 1);
}

TEST_F(SearchLab, AChosenAdapterFindsOnlyItsOwnSegment) {
    Responder a("camA", {replyOf(1, 21)});
    Responder b("camB", {replyOf(2, 31)});
    EXPECT_EQ(names(zelk::searchCameras(WORKSTATION_A)), (std::set<std::string>{"cam-1-21"}));
    EXPECT_EQ(b.probesHeard(), 0);  // the probe left through segment A only
    EXPECT_EQ(names(zelk::searchCameras(WORKSTATION_B)), (std::set<std::string>{"cam-2-31"}));
    EXPECT_EQ(names(zelk::searchCameras("")), (std::set<std::string>{"cam-1-21", "cam-2-31"}));
}

TEST_F(SearchLab, AnAddressTheMachineDoesNotHaveCannotBeBound) {
    int untouched = 99;
    std::vector<char> buffer(16, 'x');
    int textLength = 16;
    EXPECT_EQ(zelk_search_device(&untouched, nullptr, &textLength, buffer.data(), "192.168.7.7"),
              ZELK_ERR_SOCKET);
    EXPECT_EQ(untouched, 99);
    EXPECT_EQ(textLength, 16);
    EXPECT_EQ(traces.lines, (std::vector<std::string>{
                                "[nSocket into _initBroadcastSocket] Can create win-socket\n",
                                "[setsockopt into _initBroadcastSocket] Can set broadcast\n",
                                "[bind into _initBroadcastSocket] Can not bind ip address\n",
                                "[m_sock into zelk_search_device] Can not initialize win-socket\n",
                            }));
    EXPECT_LT(m_sock, 0);
    zelk_close();
    EXPECT_EQ(traces.lines.back(), "[WSACleanup into zelk_close] Can close WS2_32.dll!!\n");
}

TEST_F(SearchLab, MalformedRepliesAreDroppedAndGoodOnesKept) {
    std::vector<uint8_t> oversize = ReplyBuilder().camera(camera(1, 40)).text(0x200, std::string(900, 'x')).bytes();
    std::vector<uint8_t> cut = replyOf(1, 41);
    cut.resize(cut.size() - 5);
    Responder good("camA", {replyOf(1, 21)});
    Responder tooLong("camA", {oversize});
    Responder truncated("camA", {cut});
    const zelk::SearchResult s = zelk::searchCameras("");
    EXPECT_EQ(names(s), (std::set<std::string>{"cam-1-21"}));
    EXPECT_GE(traces.count("[recvfrom into _discovery_device] J == -1\n"), 1);
    EXPECT_GE(traces.count("[item into _parsePacket] Can not read items within packet\n"), 1);
}

TEST(SearchWindow, TheRealReceiveWindowLastsThreeToFiveSeconds) {
    TraceCapture quiet;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(zelk::searchCameras("").result, ZELK_OK);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 3.0);
    EXPECT_LE(seconds, 5.2);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!testnet::enterPrivateNetwork(why) || !testnet::addSegment("wsA", "192.168.1.10/24", "camA") ||
        !testnet::addSegment("wsB", "192.168.2.10/24", "camB") || !testnet::setDefaultRoute("wsA")) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segments" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}
