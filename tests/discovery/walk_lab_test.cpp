// The address walk on a private segment with a real neighbour: the
// workstation 192.168.1.10 (and 192.168.1.19) on wsA, and in a network
// namespace of its own a host at 192.168.1.20 and .21 that ignores echo
// requests but answers ARP, as a workstation behind a host firewall does.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "address_walk.h"
#include "device_table.h"
#include "echo_probe.h"
#include "parse_packet.h"
#include "private_network.h"
#include "reply_builder.h"
#include "text.h"
#include "trace_capture.h"
#include "zelk.h"
#include "zelk_testing.h"

namespace {

constexpr int CAMERAS = 3;

// A search that found CAMERAS cameras, their identifiers ending in 0, 1, 2.
void foundCameras() {
    zelk::g_deviceTable.count = 0;
    for (int n = 0; n < CAMERAS; ++n) {
        ReplyCamera c;
        c.id[5] = static_cast<uint8_t>(n);
        const std::vector<uint8_t> reply = ReplyBuilder().camera(c).bytes();
        zelk::_parsePacket(reply.data(), static_cast<int>(reply.size()));
    }
    zelk::setLastSearchCount(CAMERAS);
}

using zelk::SkipReason;
using Skips = std::vector<std::pair<std::string, SkipReason>>;

class WalkLab : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        zelk::setDatagramEchoSocketForTests(GetParam());
        foundCameras();
        zelk::setRequestSenderForTests([this](const std::vector<uint8_t>& r) {
            sent.push_back(r);
            return static_cast<long>(r.size());
        });
    }
    void TearDown() override {
        zelk::setDatagramEchoSocketForTests(false);
        zelk::setRequestSenderForTests({});
    }

    zelk::AddressPlan plan(const char* first, const char* last, const char* mask, const char* gateway) {
        zelk::setField(bounds[0].ipAddress, first);
        zelk::setField(bounds[0].subnetMask, mask);
        zelk::setField(bounds[0].gateway, gateway);
        zelk::setField(bounds[1].ipAddress, last);
        ::testing::internal::CaptureStdout();  // the probe's report
        zelk::AddressPlan p = zelk::planAddresses(bounds, CAMERAS, indices, "");
        report = ::testing::internal::GetCapturedStdout();
        return p;
    }

    static Skips skipsOf(const zelk::AddressPlan& p) {
        Skips skips;
        for (const auto& s : p.skipped) skips.emplace_back(s.address, s.reason);
        return skips;
    }

    // The address of each entry of each request sent.
    std::vector<std::string> entries() const {
        std::vector<std::string> addresses;
        for (const auto& r : sent) {
            for (size_t e = 32; e + 400 <= r.size() - 28; e += 400)
                addresses.push_back(std::to_string(r[e + 8]) + "." + std::to_string(r[e + 9]) + "." +
                                    std::to_string(r[e + 10]) + "." + std::to_string(r[e + 11]));
        }
        return addresses;
    }

    DeviceInfo bounds[2] = {};
    const int indices[CAMERAS] = {2, 0, 1};
    std::vector<std::vector<uint8_t>> sent;
    std::string report;
    TraceCapture traces;
};

TEST_P(WalkLab, AHostThatAnswersOnlyArpAndTheReservedAddressesAreNeverHandedOut) {
    // In a /29 the range holds its network (.16) and broadcast (.23) address.
    const zelk::AddressPlan p = plan("192.168.1.16", "192.168.1.23", "255.255.255.248", "192.168.1.22");
    ASSERT_EQ(p.result, ZELK_OK);
    // Fewer usable addresses than cameras: the last camera got none.
    EXPECT_EQ(p.assigned, (std::vector<std::string>{"192.168.1.17", "192.168.1.18", ""}));
    EXPECT_EQ(skipsOf(p), (Skips{{"192.168.1.16", SkipReason::NetworkAddress},
                                 {"192.168.1.19", SkipReason::OwnAddress},
                                 {"192.168.1.20", SkipReason::AnswersArp},
                                 {"192.168.1.21", SkipReason::AnswersArp},
                                 {"192.168.1.22", SkipReason::Gateway},
                                 {"192.168.1.23", SkipReason::BroadcastAddress}}));
    EXPECT_EQ(traces.count("[_ping into MultiConfigureDevice] Exist ip address\n"), 6);
    // Every address a host may hold is probed, the reports come in address
    // order; network and broadcast addresses are no host's and are not probed.
    size_t at = 0;
    for (const char* probed : {".17 ", ".18 ", ".19 ", ".20 ", ".21 ", ".22 "}) {
        const size_t next = report.find(std::string("_pinging 192.168.1") + probed);
        EXPECT_TRUE(next != std::string::npos && next >= at) << probed << "\n" << report;
        at = next;
    }
    for (const char* reserved : {".16 ", ".23 "})
        EXPECT_EQ(report.find(std::string("_pinging 192.168.1") + reserved), std::string::npos) << reserved;

    ASSERT_EQ(zelk::sendAddressPlan(p, bounds, CAMERAS, indices, ""), ZELK_OK);
    EXPECT_EQ(entries(), (std::vector<std::string>{"192.168.1.17", "192.168.1.18"}));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][32 + 5], 2);  // the first camera given, not the first found
}

TEST_P(WalkLab, TheBroadcastAddressOfTheDesignedRangeIsNeverHandedOut) {
    const zelk::AddressPlan p = plan("192.168.1.253", "192.168.1.255", "255.255.255.0", "192.168.1.1");
    ASSERT_EQ(p.result, ZELK_OK);
    EXPECT_EQ(p.assigned, (std::vector<std::string>{"192.168.1.253", "192.168.1.254", ""}));
    EXPECT_EQ(skipsOf(p), (Skips{{"192.168.1.255", SkipReason::BroadcastAddress}}));
    EXPECT_EQ(report.find("_pinging 192.168.1.255 "), std::string::npos);
}

TEST_P(WalkLab, ARangeAcrossPrefixesProbesAndSendsNothing) {
    const zelk::AddressPlan p = plan("10.77.0.5", "10.88.0.6", "255.0.0.0", "10.0.0.1");
    EXPECT_EQ(p.result, ZELK_ERR_BAD_ADDRESS);
    EXPECT_EQ(zelk::sendAddressPlan(p, bounds, CAMERAS, indices, ""), ZELK_ERR_BAD_ADDRESS);
    EXPECT_TRUE(report.empty());
    EXPECT_TRUE(sent.empty());
}

INSTANTIATE_TEST_SUITE_P(Sockets, WalkLab, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Datagram" : "Raw"; });

// Starts a process in a network namespace of its own that takes over the far
// end `peer` with the given addresses and answers no echo request. It dies
// with the test, and its namespace with it.
bool startSilentNeighbour(const std::string& peer, const std::vector<std::string>& cidrs) {
    int ready[2];
    int go[2];
    if (::pipe(ready) != 0 || ::pipe(go) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        char status = ::unshare(CLONE_NEWNET) == 0 ? 1 : 0;
        if (::write(ready[1], &status, 1) != 1 || ::read(go[0], &status, 1) != 1) ::_exit(1);
        std::string setup = "ip link set lo up && ip link set " + peer + " up";
        for (const std::string& cidr : cidrs) setup += " && ip addr add " + cidr + " dev " + peer;
        status = testnet::run(setup) && (std::ofstream("/proc/sys/net/ipv4/icmp_echo_ignore_all") << "1") ? 1 : 0;
        if (::write(ready[1], &status, 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    char status = 0;
    if (::read(ready[0], &status, 1) != 1 || status != 1) return false;
    if (!testnet::run("ip link set " + peer + " netns " + std::to_string(child))) return false;
    if (::write(go[1], &status, 1) != 1) return false;
    return ::read(ready[0], &status, 1) == 1 && status == 1;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!testnet::enterPrivateNetwork(why) || !testnet::addSegment("wsA", "192.168.1.10/24", "hostA") ||
        !testnet::run("ip addr add 192.168.1.19/24 dev wsA") || !testnet::setDefaultRoute("wsA") ||
        !startSilentNeighbour("hostA", {"192.168.1.20/24", "192.168.1.21/24"})) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segment" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}
