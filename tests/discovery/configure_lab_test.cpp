// The echo probe, the adapter list and the refusal without ICMP sockets,
// inside a private network namespace with one segment: the workstation
// 192.168.1.10 on wsA, the far end camA holding the probed hosts' addresses.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <net/if.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "config_request.h"
#include "device_table.h"
#include "echo_probe.h"
#include "fake_host.h"
#include "network_info.h"
#include "parse_packet.h"
#include "private_network.h"
#include "reply_builder.h"
#include "address_walk.h"
#include "text.h"
#include "trace_capture.h"
#include "zelk.h"
#include "zelk_testing.h"

namespace {

bool resultIsNoIcmpAndNothingWentOut() {
    std::vector<std::vector<uint8_t>> sent;
    std::vector<std::string> probed;
    zelk::setRequestSenderForTests([&](const std::vector<uint8_t>& r) {
        sent.push_back(r);
        return static_cast<long>(r.size());
    });
    DeviceInfo range[2] = {};
    zelk::setField(range[0].ipAddress, "192.168.1.60");
    zelk::setField(range[0].subnetMask, "255.255.255.0");
    zelk::setField(range[0].gateway, "192.168.1.1");
    zelk::setField(range[1].ipAddress, "192.168.1.70");
    return zelk_set_deviceinfo_multi(range, nullptr, 0, nullptr, "") == ZELK_ERR_NO_ICMP && sent.empty();
}

// A fresh network namespace keeps its ICMP datagram sockets closed to every
// group; without CAP_NET_RAW no raw socket is left either.
void loseEveryIcmpSocket() {
    if (::unshare(CLONE_NEWNET) != 0) std::exit(2);
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    syscall(SYS_capget, &header, data);
    data[0].effective &= ~(1u << CAP_NET_RAW);
    syscall(SYS_capset, &header, data);
}

TEST(MultiConfigure, WithoutAnyIcmpSocketNothingIsHandedOut) {
    EXPECT_EXIT(
        {
            loseEveryIcmpSocket();
            std::exit(resultIsNoIcmpAndNothingWentOut() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "Can not create raw socket");
}

TEST(NetworkInfo, SenderTextIsTheFirstAdaptersHardwareAddress) {
    // Loopback does not count; of the pair wsA/camA the one of lower index comes first.
    const bool workstationFirst = if_nametoindex("wsA") < if_nametoindex("camA");
    const std::string first = workstationFirst ? "wsA" : "camA";
    const std::string second = workstationFirst ? "camA" : "wsA";
    ASSERT_TRUE(testnet::run("ip link set " + second + " address 00:50:56:01:02:03"));  // a virtual machine's
    struct Case {
        const char* address;
        const char* text;
    };
    for (const Case& c : {Case{"02:1a:2b:3c:4d:5e", "02:1a:2b:3c:4d:5e:00:00"},
                          Case{"02:00:27:12:34:56", "02:00:27:12:34:56:00:00"}}) {
        ASSERT_TRUE(testnet::run("ip link set " + first + " address " + c.address));
        TraceCapture traces;
        char sender[24];
        std::memset(sender, 'x', sizeof sender);
        ASSERT_EQ(zelk::_getNetworkInfo(sender), ZELK_OK);
        EXPECT_STREQ(sender, c.text);
        EXPECT_EQ(traces.lines, (std::vector<std::string>{"[dwRetVal into _getNetworkInfo] Can find adapter\n",
                                                          "[strcmp() into _getNetworkInfo] Can not find VMware adapter\n",
                                                          "[strcmp() into _getNetworkInfo] Can find VMware adapter\n"}));
    }
    // The multi-set request carries the first 8 characters.
    std::vector<uint8_t> request;
    zelk::setRequestSenderForTests([&](const std::vector<uint8_t>& r) {
        request = r;
        return static_cast<long>(r.size());
    });
    zelk::setProbeForTests([](const char*) { return 0; });
    zelk::g_deviceTable.count = 0;
    const std::vector<uint8_t> reply = ReplyBuilder().camera(ReplyCamera{}).bytes();
    ASSERT_EQ(zelk::_parsePacket(reply.data(), static_cast<int>(reply.size())), ZELK_OK);
    zelk::setLastSearchCount(1);
    DeviceInfo range[2] = {};
    for (DeviceInfo& bound : range) {
        zelk::setField(bound.ipAddress, "192.168.1.60");
        zelk::setField(bound.subnetMask, "255.255.255.0");
        zelk::setField(bound.gateway, "192.168.1.1");
    }
    const int indices[] = {0};
    EXPECT_EQ(zelk_set_deviceinfo_multi(range, nullptr, 1, indices, ""), ZELK_OK);
    zelk::setRequestSenderForTests({});
    zelk::setProbeForTests({});
    ASSERT_EQ(request.size(), 460u);
    EXPECT_EQ(std::string(request.begin() + 8, request.begin() + 16), "02:00:27");
}

class EchoProbe : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { zelk::setDatagramEchoSocketForTests(GetParam()); }
    void TearDown() override { zelk::setDatagramEchoSocketForTests(false); }

    int ping(const char* address, std::string& report) {
        ::testing::internal::CaptureStdout();
        const int result = zelk::_ping(address);
        report = ::testing::internal::GetCapturedStdout();
        return result;
    }

    FakeHosts hosts;
    TraceCapture traces;
};

long lines(const std::string& text, const std::string& start) {
    long n = 0;
    for (size_t p = text.find(start); p != std::string::npos; p = text.find(start, p + 1)) ++n;
    return n;
}

TEST_P(EchoProbe, AHostThatAnswersIsInUse) {
    hosts.answer("192.168.1.51");
    std::string report;
    EXPECT_EQ(ping("192.168.1.51", report), 1);
    EXPECT_EQ(report.rfind("_pinging 192.168.1.51 [192.168.1.51] with 32 bytes of data:\n", 0), 0u);
    EXPECT_NE(report.find("Reply[1] from: 192.168.1.51: bytes=32 time="), std::string::npos);
    EXPECT_NE(report.find("Reply[3] from: 192.168.1.51: bytes=32 time="), std::string::npos);
    EXPECT_NE(report.find("TTL=64"), std::string::npos);
    EXPECT_EQ(traces.count("[nRet into _ping] Can close socket\n"), 1);
}

TEST_P(EchoProbe, ASilentAddressIsFreeAfterOneSecond) {
    std::string report;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ping("192.168.1.52", report), 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(seconds, 0.9);
    EXPECT_EQ(lines(report, "Reply["), 0);
    // The wait itself worked: its line comes before the one of the timeout.
    // (A raw socket also hears the request itself, which answers nothing.)
    ASSERT_GE(traces.lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(traces.lines.begin(), traces.lines.begin() + 4),
              (std::vector<std::string>{"[rawSocket into _ping] Can create raw socket\n",
                                        "[lpHost into _ping] Can get host name\n",
                                        "[lpHost into _sendEchoRequest] Can send the echo request\n",
                                        "[nRet into _ping] Can select socket\n"}));
    EXPECT_EQ(std::vector<std::string>(traces.lines.end() - 2, traces.lines.end()),
              (std::vector<std::string>{"[nRet into _ping] Can select socket\n",
                                        "[nRet into _ping] Can not Request Timed Out\n"}));
}

TEST_P(EchoProbe, AHostThatAnswersOnlyTheFirstRequestIsInUse) {
    hosts.answer("192.168.1.53", 1);
    std::string report;
    EXPECT_EQ(ping("192.168.1.53", report), 1);
    EXPECT_EQ(lines(report, "Reply[1] from: 192.168.1.53: bytes=32 time="), 1);
    EXPECT_EQ(lines(report, "Reply["), 1);
    EXPECT_EQ(traces.count("[nRet into _ping] Can not Request Timed Out\n"), 1);
    EXPECT_EQ(traces.count("[nRet into _ping] Can close socket\n"), 1);
}

TEST_P(EchoProbe, MessagesThatAnswerNoRequestAreIgnored) {
    hosts.answer("192.168.1.54", 0);  // never answers...
    hosts.answer("192.168.1.55");
    hosts.sendNoiseFirst();           // ...but stray messages arrive for both
    std::string report;
    EXPECT_EQ(ping("192.168.1.55", report), 1);
    EXPECT_EQ(lines(report, "Reply["), 3);
    EXPECT_EQ(lines(report, "from: 192.168.1.55:"), 3);
    EXPECT_EQ(ping("192.168.1.54", report), 0);
    EXPECT_EQ(lines(report, "Reply["), 0);
    EXPECT_GE(traces.count("[nRet into _recvEchoReply] Can receive echo reply\n"), 3 + 2);
    EXPECT_EQ(traces.count("[nRet into _ping] Can not Request Timed Out\n"), 1);
}

TEST_P(EchoProbe, ANameThatDoesNotResolveIsFree) {
    std::string report;
    EXPECT_EQ(ping("", report), 0);
    EXPECT_EQ(traces.count("[lpHost into _ping] Can not get host name\n"), 1);
}

INSTANTIATE_TEST_SUITE_P(Sockets, EchoProbe, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Datagram" : "Raw"; });

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "fast";
    std::string why;
    if (!testnet::enterOneSegment(why) ||
        !testnet::run("for a in 51 52 53 54 55; do ip addr add 192.168.1.$a/32 dev camA || exit 1; done") ||
        !(std::ofstream("/proc/sys/net/ipv4/icmp_echo_ignore_all") << "1")) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segment" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}
