// The whole search on three private segments: A (192.168.1.0/24, the default
// route), B (192.168.2.0/24) and C (192.168.3.0/24), each with stand-in
// cameras on its far end.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <json/json.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "text.h"
#include "trace_capture.h"
#include "zelk.h"
#include "zelk_search.h"
#include "zelk_testing.h"

namespace {

const char* const WORKSTATION_A = "192.168.1.10";
const char* const WORKSTATION_B = "192.168.2.10";
const char* const WORKSTATION_C = "192.168.3.10";

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

int indexOf(const zelk::SearchResult& s, const std::string& name) {
    for (int i = 0; i < s.count; ++i) {
        if (name == s.devices[i].deviceName) return i;
    }
    return -1;
}

// Drops every incoming datagram to UDP 50444, as a host firewall does, for
// as long as it lives.
class InputFirewall {
public:
    InputFirewall() {
        ok_ = testnet::run("nft add table inet ostrel_test") &&
              testnet::run("nft add chain inet ostrel_test in '{ type filter hook input priority 0; }'") &&
              testnet::run("nft add rule inet ostrel_test in udp dport 50444 drop");
    }
    ~InputFirewall() { testnet::run("nft delete table inet ostrel_test"); }
    InputFirewall(const InputFirewall&) = delete;
    InputFirewall& operator=(const InputFirewall&) = delete;

    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// Keeps the receive loop busy with short datagrams, so that it reads its
// clock often instead of waiting.
class Chatter {
public:
    Chatter() : sock_(::socket(AF_INET, SOCK_DGRAM, 0)), thread_([this] { chatter(); }) {}
    ~Chatter() {
        stop_ = true;
        thread_.join();
        ::close(sock_);
    }
    Chatter(const Chatter&) = delete;
    Chatter& operator=(const Chatter&) = delete;

private:
    void chatter() {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(zelk::IDCP_PORT);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        while (!stop_) {
            ::sendto(sock_, "x", 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    int sock_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// The clocks the search reads, in steps: each reading moves both on by
// `tick`, and after the third the wall clock jumps by `step`. The search
// never waits for them, so a window of seconds passes in a moment.
class SteppedClocks {
public:
    SteppedClocks(nanoseconds tick, nanoseconds step) : tick_(tick), step_(step) {
        zelk::setClockForTests([this](clockid_t clock) { return read(clock); });
    }
    ~SteppedClocks() { zelk::setClockForTests({}); }
    SteppedClocks(const SteppedClocks&) = delete;
    SteppedClocks& operator=(const SteppedClocks&) = delete;

    // From the first reading to the last, on whichever clock was read.
    nanoseconds sinceFirstReading() const { return last_ - first_; }

private:
    nanoseconds read(clockid_t clock) {
        using namespace std::chrono_literals;
        ++readings_;
        // Ends a loop that follows the wall clock back in time.
        if (readings_ > 5000) return nanoseconds::max() / 2;
        const nanoseconds sinceBoot = tick_ * readings_;
        nanoseconds now = 1000h + sinceBoot;
        if (clock == CLOCK_REALTIME) now = 490'000h + sinceBoot + (readings_ > 3 ? step_ : 0ns);
        if (readings_ == 1) first_ = now;
        last_ = now;
        return now;
    }

    nanoseconds tick_;
    nanoseconds step_;
    long readings_ = 0;
    nanoseconds first_{0};
    nanoseconds last_{0};
};

class SearchLab : public ::testing::Test {
protected:
    void SetUp() override { zelk::setReceiveWindowForTests(std::chrono::milliseconds(1200)); }
    void TearDown() override {
        zelk::setReceiveWindowForTests(std::chrono::milliseconds(0));
        zelk::setClockForTests({});
        zelk::setProbeForTests({});
    }

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
    EXPECT_TRUE(s.diagnosis.ownProbeHeard);
    EXPECT_TRUE(s.diagnosis.broadcastAdapterUp);
    EXPECT_FALSE(s.diagnosis.chosenAdapterGone);
}

TEST_F(SearchLab, AFirewalledWorkstationDoesNotHearItsOwnProbe) {
    Responder a("camA", {replyOf(1, 21)});
    InputFirewall firewall;
    ASSERT_TRUE(firewall.ok()) << "nft is needed (scripts/install-deps installs nftables)";
    const zelk::SearchResult s = zelk::searchCameras("");
    EXPECT_EQ(s.result, ZELK_OK);
    EXPECT_EQ(s.count, 0);
    EXPECT_FALSE(s.diagnosis.ownProbeHeard);
    EXPECT_TRUE(s.diagnosis.broadcastAdapterUp);
}

TEST_F(SearchLab, AnAdapterThatGoesDuringTheSearchIsReportedGone) {
    Responder c("camC", {replyOf(3, 41)});
    struct AddressBack {
        ~AddressBack() { testnet::run("ip addr add 192.168.3.10/24 dev wsC"); }
    } restore;
    zelk::SearchOptions options;
    options.onCamera = [](int, const DeviceInfo&, const zelk::CameraAdapter&) {
        testnet::run("ip addr del 192.168.3.10/24 dev wsC");
    };
    const zelk::SearchResult s = zelk::searchCameras(WORKSTATION_C, options);
    EXPECT_EQ(s.count, 1);
    EXPECT_TRUE(s.diagnosis.chosenAdapterGone);
    const zelk::SearchResult next = zelk::searchCameras(WORKSTATION_C);
    EXPECT_EQ(next.result, ZELK_ERR_SOCKET);
    EXPECT_TRUE(next.diagnosis.chosenAdapterGone);
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
    for (const char* everyAdapter : {"", "0.0.0.0"})
        EXPECT_EQ(names(zelk::searchCameras(everyAdapter)), (std::set<std::string>{"cam-1-21", "cam-2-31"}))
            << everyAdapter;
}

TEST_F(SearchLab, EachCameraKnowsTheAdapterItAnsweredOn) {
    Responder a("camA", {replyOf(1, 21)});
    Responder b("camB", {replyOf(2, 31)});
    for (const char* local : {"", WORKSTATION_B}) {
        const zelk::SearchResult s = zelk::searchCameras(local);
        ASSERT_EQ(s.result, ZELK_OK);
        ASSERT_EQ(s.adapters.size(), static_cast<size_t>(s.count));
        std::map<std::string, std::string> adapterOf;
        for (int i = 0; i < s.count; ++i) {
            const zelk::CameraAdapter& adapter = s.adapters[i];
            EXPECT_EQ(adapter.index, if_nametoindex(adapter.name.c_str()));
            adapterOf[s.devices[i].deviceName] = adapter.name + " " + adapter.address;
        }
        const std::map<std::string, std::string> onB{{"cam-2-31", "wsB 192.168.2.10"}};
        std::map<std::string, std::string> onBoth = onB;
        onBoth["cam-1-21"] = "wsA 192.168.1.10";
        EXPECT_EQ(adapterOf, local[0] == '\0' ? onBoth : onB) << local;
    }
}

TEST_F(SearchLab, RequestsForCamerasLeaveOnlyThroughTheAdaptersTheyAnsweredOn) {
    Responder a("camA", {replyOf(1, 21)});
    Responder b("camB", {replyOf(2, 31)});
    zelk::setProbeForTests([](const char*) { return 0; });
    const zelk::SearchResult s = zelk::searchCameras("");
    const int onA = indexOf(s, "cam-1-21");
    const int both[2] = {onA, indexOf(s, "cam-2-31")};
    ASSERT_GE(onA, 0);
    ASSERT_GE(both[1], 0);
    DeviceInfo range[2] = {};
    zelk::setField(range[0].ipAddress, "192.168.1.60");
    zelk::setField(range[0].subnetMask, "255.255.255.0");
    zelk::setField(range[0].gateway, "192.168.1.1");
    zelk::setField(range[1].ipAddress, "192.168.1.70");
    char scan[16] = {};

    EXPECT_EQ(zelk_set_deviceinfo(onA, s.devices.data(), range[0], scan, ""), ZELK_OK);
    EXPECT_EQ(zelk_factory_default(onA, scan, s.devices.data(), ""), ZELK_OK);
    EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 1, &onA, ""), ZELK_OK);
    // Cameras of two segments: one copy out of each of their adapters.
    EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 2, both, ""), ZELK_OK);

    // The next probe reaches each far end after every request sent before it.
    zelk::searchCameras("");
    ASSERT_EQ(b.probesHeard(), 2);
    EXPECT_EQ(a.requestsHeard(), 4);
    EXPECT_EQ(b.requestsHeard(), 1);
}

TEST_F(SearchLab, RepeatedProbesListEachCameraOnceAsItArrives) {
    Responder a1("camA", {replyOf(1, 21)});
    Responder a2("camA", {replyOf(1, 22)}, 2);
    std::map<int, std::string> arrived;
    zelk::SearchOptions options;
    options.probes = 3;
    options.onCamera = [&](int index, const DeviceInfo& camera, const zelk::CameraAdapter& adapter) {
        EXPECT_TRUE(arrived.emplace(index, camera.deviceName).second) << "index " << index << " reported twice";
        EXPECT_EQ(adapter.name, "wsA");
    };
    const zelk::SearchResult s = zelk::searchCameras("", options);
    EXPECT_EQ(a1.probesHeard(), 3);
    EXPECT_EQ(traces.count("[sendto into _discovery_device] Can send message\n"), 3);
    ASSERT_EQ(s.count, 2);
    EXPECT_EQ(arrived, (std::map<int, std::string>{{0, s.devices[0].deviceName}, {1, s.devices[1].deviceName}}));
}

TEST_F(SearchLab, AWallClockStepLeavesTheReceiveWindowAtFourSeconds) {
    using namespace std::chrono_literals;
    zelk::setReceiveWindowForTests(0ms);
    Chatter busy;
    for (const nanoseconds step : {nanoseconds(10s), nanoseconds(-1h)}) {
        SteppedClocks clocks(100ms, step);
        EXPECT_EQ(zelk::searchCameras("").result, ZELK_OK);
        EXPECT_GE(clocks.sinceFirstReading(), nanoseconds(3s)) << "step " << step.count();
        EXPECT_LE(clocks.sinceFirstReading(), nanoseconds(5s)) << "step " << step.count();
    }
}

TEST_F(SearchLab, ProbesAreSpreadOverTheFirstHalfOfTheWindow) {
    using namespace std::chrono_literals;
    zelk::setReceiveWindowForTests(0ms);
    Chatter busy;
    struct Case {
        int probes;
        milliseconds spacing;
        std::vector<milliseconds> sentAt;
    };
    for (const Case& c : {Case{3, 0ms, {0ms, 1000ms, 2000ms}}, Case{3, 300ms, {0ms, 300ms, 600ms}},
                          Case{2, 5000ms, {0ms, 2000ms}}, Case{0, 0ms, {0ms}}}) {
        SteppedClocks clocks(10ms, 0ns);
        std::vector<milliseconds> sentAt;
        zelk::setTraceSink([&](std::string_view line) {
            if (line == "[sendto into _discovery_device] Can send message\n")
                sentAt.push_back(std::chrono::duration_cast<milliseconds>(clocks.sinceFirstReading()));
        });
        zelk::SearchOptions options;
        options.probes = c.probes;
        options.spacing = c.spacing;
        EXPECT_EQ(zelk::searchCameras("", options).result, ZELK_OK);
        // A probe leaves at the first reading at or after its time.
        ASSERT_EQ(sentAt.size(), c.sentAt.size()) << c.probes << " probes";
        for (size_t k = 0; k < sentAt.size(); ++k) {
            EXPECT_GE(sentAt[k], c.sentAt[k]) << c.probes << " probes, probe " << k;
            EXPECT_LE(sentAt[k], c.sentAt[k] + 30ms) << c.probes << " probes, probe " << k;
        }
    }
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

[[noreturn]] void exitWith(bool passed, const char* why) {
    if (!passed) std::fprintf(stderr, "%s\n", why);
    std::exit(passed ? 0 : 1);
}

TEST_F(SearchLab, AProbeThatCannotLeaveKeepsTheLastSearchsCameras) {
    EXPECT_EXIT(
        {
            std::unique_ptr<Responder> a = std::make_unique<Responder>("camA", std::vector<std::vector<uint8_t>>{replyOf(1, 21)});
            const zelk::SearchResult found = zelk::searchCameras("");
            a.reset();
            if (found.count != 1) exitWith(false, "the first search did not find the camera");
            // A namespace without any adapter: the probe has nowhere to go.
            if (::unshare(CLONE_NEWNET) != 0) exitWith(false, "cannot leave the segments");
            const zelk::SearchResult failed = zelk::searchCameras("");
            if (failed.result != ZELK_ERR_SEND_PROBE) exitWith(false, "the probe did not fail");
            if (failed.diagnosis.broadcastAdapterUp) exitWith(false, "an adapter is reported up");
            std::vector<uint8_t> sent;
            zelk::setRequestSenderForTests([&](const std::vector<uint8_t>& r) {
                sent = r;
                return static_cast<long>(r.size());
            });
            char scan[16] = {};
            if (zelk_factory_default(0, scan, found.devices.data(), "") != ZELK_OK)
                exitWith(false, "camera 0 of the last search is gone");
            const ReplyCamera camera = ::camera(1, 21);
            exitWith(sent.size() > 24 && std::memcmp(sent.data() + 16, camera.id.data(), 8) == 0,
                     "the request does not name camera 0 of the last search");
        },
        ::testing::ExitedWithCode(0), "");
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
        !testnet::addSegment("wsB", "192.168.2.10/24", "camB") ||
        !testnet::addSegment("wsC", "192.168.3.10/24", "camC") || !testnet::setDefaultRoute("wsA")) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segments" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}
