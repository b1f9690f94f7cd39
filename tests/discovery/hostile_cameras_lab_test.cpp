// Hostile senders on a private segment, each next to well-formed cameras
// within one receive window: the search must return, list the well-formed
// cameras with exactly their fields, and stay within bounded memory.
#include <gtest/gtest.h>

#include <json/json.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "hostile_senders.h"
#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "text.h"
#include "trace_capture.h"
#include "zelk.h"
#include "zelk_search.h"
#include "zelk_testing.h"

namespace {

using namespace hostile;

constexpr auto WINDOW = std::chrono::milliseconds(1200);
// Generous: the search must return, on however loaded a machine; its length is the benchmark's business.
constexpr auto DEADLINE = std::chrono::seconds(60);

template <size_t N>
void expectField(const char (&field)[N], const std::string& bytes, const char* what) {
    EXPECT_EQ(zelk::fieldText(field), bytes.substr(0, N - 1)) << what;
}

void expectListed(const zelk::SearchResult& s, const Listed& expected) {
    const ReplyCamera& c = expected.camera;
    const std::string ip = addressText(c.ip);
    const std::string mac = macText(c.id);
    int index = -1;
    for (int i = 0; i < s.count; ++i) {
        if (ip == s.devices[i].ipAddress && mac == s.devices[i].macAddress) index = i;
    }
    ASSERT_GE(index, 0) << "not listed: " << mac << " " << ip;
    const DeviceInfo& d = s.devices[index];
    expectField(d.deviceName, c.name, "deviceName");
    expectField(d.gateway, addressText(c.gateway), "gateway");
    expectField(d.subnetMask, addressText(c.mask), "subnetMask");
    expectField(d.modelName, c.model, "modelName");
    expectField(d.firmwareVersion, c.version, "firmwareVersion");
    expectField(d.userId, c.userId, "userId");
    expectField(d.password, c.password, "password");
    expectField(d.rtspUrl1, c.rtsp1, "rtspUrl1");
    expectField(d.rtspUrl2, c.rtsp2, "rtspUrl2");
    expectField(d.rtspUrl3, c.rtsp3, "rtspUrl3");
    expectField(d.webUrl, c.web, "webUrl");
    expectField(d.dhcp, std::to_string(c.dhcp), "dhcp");

    expectShownAs(s.document["oScanData"]["oDATA_" + std::to_string(index)], expected);
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class HostileCameras : public ::testing::Test {
protected:
    void SetUp() override { zelk::setReceiveWindowForTests(WINDOW); }
    void TearDown() override { zelk::setReceiveWindowForTests(std::chrono::milliseconds(0)); }

    // The well-formed cameras answer first, the hostile sender right after
    // them from the same host, so both fall within the window.
    zelk::SearchResult search(const std::vector<Datagram>& hostile) {
        Responder sender("camA", afterTheWellFormed(hostile));
        auto running = std::async(std::launch::async, [] { return zelk::searchCameras(""); });
        if (running.wait_for(WINDOW + DEADLINE) != std::future_status::ready) {
            std::fprintf(stderr, "the search did not return\n");
            std::_Exit(1);  // a thread stuck in the library cannot be joined
        }
        return running.get();
    }

    // The cameras `sender` must leave listed, each with exactly its fields, and nothing else.
    void expectExactly(const zelk::SearchResult& s, const Sender& sender) {
        ASSERT_EQ(s.result, ZELK_OK);
        ASSERT_TRUE(s.document.isObject());
        const std::vector<Listed> all = mustBeListed(sender);
        EXPECT_EQ(s.count, static_cast<int>(all.size()));
        EXPECT_EQ(s.document["nNOIPCAM"].asInt(), s.count);
        EXPECT_FALSE(s.dropped);
        for (const Listed& l : all) expectListed(s, l);
    }

    TraceCapture traces;
};

TEST_F(HostileCameras, MalformedAndStrangeRepliesLeaveTheOthersExact) {
    for (const Case& c : malformedAndStrange()) {
        SCOPED_TRACE(c.what);
        const Sender h = c.make();
        traces.lines.clear();
        expectExactly(search(h.datagrams), h);
        if (!h.heard.empty()) {
            EXPECT_GE(traces.count(h.heard), 1);
        }
    }
}

// Many distinct cameras from one host: the table fills, the search says so
// and still lists the cameras that answered first.
TEST_F(HostileCameras, TwoThousandCamerasFillTheTableAndTheSearchSaysSo) {
    const zelk::SearchResult s = search(twoThousandCameras());
    ASSERT_EQ(s.result, ZELK_OK);
    EXPECT_LE(s.count, ZELK_MAX_DEVICES);
    // How many arrive is the kernel's choice; a drop can only come from a full table.
    EXPECT_TRUE(!s.dropped || s.count == ZELK_MAX_DEVICES) << s.count << " listed";
    for (const ReplyCamera& c : wellFormed()) expectListed(s, listed(c));
    std::printf("2000 cameras sent: %d listed, dropped %s\n", s.count, s.dropped ? "yes" : "no");
}

TEST_F(HostileCameras, ABurstOfFiftyThousandDatagramsKeepsMemoryBounded) {
    const std::vector<Datagram> burst = burstOfFiftyThousand();
    zelk::setTraceSink([](std::string_view) {});  // the figure is the library's, not the captured lines
    const long before = peakKilobytes();
    const zelk::SearchResult s = search(burst);
    const long growth = peakKilobytes() - before;
    ASSERT_EQ(s.result, ZELK_OK);
    EXPECT_LE(s.count, ZELK_MAX_DEVICES);
    for (const ReplyCamera& c : wellFormed()) expectListed(s, listed(c));
    RecordProperty("peak_rss_growth_kb", static_cast<int>(growth));
    std::printf("50000 datagrams sent: %d listed, peak RSS %ld kB, grew %ld kB during the search\n", s.count,
                peakKilobytes(), growth);
    EXPECT_LT(growth, 256 * 1024) << "kB";
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!testnet::enterOneSegment(why)) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segment" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}
