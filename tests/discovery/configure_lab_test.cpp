// The configuration requests, the address walk and the echo probe, inside a
// private network namespace with one segment: the workstation 192.168.1.10
// on wsA, the far end camA holding the addresses of the probed hosts.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <linux/capability.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>

#include "config_request.h"
#include "echo_probe.h"
#include "fake_host.h"
#include "multi_configure.h"
#include "network_info.h"
#include "private_network.h"
#include "reply_builder.h"
#include "scan_fixture.h"
#include "text.h"

namespace {

std::vector<uint8_t> bytesAt(const std::vector<uint8_t>& d, size_t offset, size_t count) {
    return {d.begin() + static_cast<long>(offset), d.begin() + static_cast<long>(offset + count)};
}

std::vector<uint8_t> textBytes(const std::string& text, size_t size) {
    std::vector<uint8_t> bytes(size, 0);
    std::memcpy(bytes.data(), text.data(), std::min(size, text.size()));
    return bytes;
}

class Configure : public ScanFixture {
protected:
    void SetUp() override {
        ScanFixture::SetUp();
        zelk::setRequestObserverForTests([this](const std::vector<uint8_t>& r) { sent.push_back(r); });
    }
    void TearDown() override {
        zelk::setRequestObserverForTests({});
        zelk::setProbeForTests({});
    }

    // A search that found `cameras`; returns the caller's records.
    std::vector<DeviceInfo> found(const std::vector<ReplyCamera>& cameras) {
        for (const auto& c : cameras) parse(ReplyBuilder().camera(c).bytes());
        ScanResult r = generate();
        zelk::setLastSearchCount(r.count);
        return r.devices;
    }

    static ReplyCamera camera(uint8_t n) {
        ReplyCamera c;
        c.id = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, n, 0x12, 0x34};
        c.ip[3] = n;
        c.userId = "administrator";
        c.password = "password-long-" + std::to_string(n);
        return c;
    }

    static DeviceInfo settings(const char* ip, const char* mask, const char* gateway, char dhcp) {
        DeviceInfo s{};
        zelk::setField(s.deviceName, "New name");
        zelk::setField(s.ipAddress, ip);
        zelk::setField(s.subnetMask, mask);
        zelk::setField(s.gateway, gateway);
        s.dhcp[0] = dhcp;
        return s;
    }

    std::vector<std::vector<uint8_t>> sent;
    char scan[16] = {};
};

TEST_F(Configure, SetDeviceInfoRequestByteForByte) {
    auto devices = found({camera(1), camera(2)});
    ASSERT_EQ(zelk_set_deviceinfo(1, devices.data(), settings("10.1.2.3", "255.255.0.0", "10.1.0.1", 1), scan, ""),
              ZELK_OK);
    ASSERT_EQ(sent.size(), 1u);
    const auto& r = sent[0];
    ASSERT_EQ(r.size(), 480u);
    const std::vector<uint8_t> id{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 2, 0x12, 0x34};
    EXPECT_EQ(bytesAt(r, 0, 8), (std::vector<uint8_t>{0x50, 0x43, 0x44, 0x50, 2, 0, 0, 0}));
    EXPECT_EQ(bytesAt(r, 8, 8), std::vector<uint8_t>(8, 0));
    EXPECT_EQ(bytesAt(r, 16, 8), id);
    EXPECT_EQ(bytesAt(r, 24, 8), (std::vector<uint8_t>{3, 0, 0, 0, 2, 0, 24, 0}));
    EXPECT_EQ(bytesAt(r, 32, 8), id);
    EXPECT_EQ(bytesAt(r, 40, 16), (std::vector<uint8_t>{10, 1, 2, 3, 255, 255, 0, 0, 10, 1, 0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(bytesAt(r, 56, 4), (std::vector<uint8_t>{1, 0, 28, 0}));
    EXPECT_EQ(bytesAt(r, 60, 28), textBytes("New name", 28));
    EXPECT_EQ(bytesAt(r, 88, 4), (std::vector<uint8_t>{4, 0, 0x84, 0x01}));
    EXPECT_EQ(bytesAt(r, 92, 128), textBytes("administ" "r", 128));  // cut to 9 bytes
    EXPECT_EQ(bytesAt(r, 220, 260), textBytes("password-lo", 260));   // cut to 11 bytes
    EXPECT_EQ(m_sock, -1);
    EXPECT_EQ(traces.count("[sendto into zelk_set_deviceinfo] Can send packet\n"), 1);
}

TEST_F(Configure, LongNamesGoOutAsTheirFirst28BytesWithoutTerminator) {
    auto devices = found({camera(1)});
    DeviceInfo s = settings("10.1.2.3", "255.0.0.0", "10.0.0.1", 0);
    zelk::setField(s.deviceName, std::string(40, 'n'));
    ASSERT_EQ(zelk_set_deviceinfo(0, devices.data(), s, scan, ""), ZELK_OK);
    EXPECT_EQ(bytesAt(sent[0], 60, 28), std::vector<uint8_t>(28, 'n'));
    EXPECT_EQ(bytesAt(sent[0], 88, 2), (std::vector<uint8_t>{4, 0}));
}

TEST_F(Configure, FactoryDefaultRequestByteForByte) {
    auto devices = found({camera(7)});
    ASSERT_EQ(zelk_factory_default(0, scan, devices.data(), ""), ZELK_OK);
    ASSERT_EQ(sent.size(), 1u);
    const auto& r = sent[0];
    ASSERT_EQ(r.size(), 428u);
    EXPECT_EQ(bytesAt(r, 4, 4), (std::vector<uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(bytesAt(r, 16, 8), (std::vector<uint8_t>{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 7, 0x12, 0x34}));
    EXPECT_EQ(bytesAt(r, 24, 8), (std::vector<uint8_t>{2, 0, 0, 0, 4, 0, 0x84, 0x01}));
    EXPECT_EQ(bytesAt(r, 32, 128), textBytes("administr", 128));
    EXPECT_EQ(bytesAt(r, 160, 260), textBytes("password-lo", 260));
    EXPECT_EQ(bytesAt(r, 420, 8), (std::vector<uint8_t>{0x01, 0x10, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(traces.count("[sendto into zelk_factory_default] Can send packet\n"), 1);
}

TEST_F(Configure, AnIndexTheLastSearchDidNotFindSendsNothing) {
    auto devices = found({camera(1), camera(2), camera(3)});
    devices = found({camera(1)});  // a later search found fewer cameras
    const DeviceInfo s = settings("10.1.2.3", "255.0.0.0", "10.0.0.1", 0);
    const int bounds[] = {-1, 1, 2, ZELK_MAX_DEVICES};
    for (int index : bounds) {
        EXPECT_EQ(zelk_set_deviceinfo(index, devices.data(), s, scan, ""), ZELK_ERR_BAD_INDEX) << index;
        EXPECT_EQ(zelk_factory_default(index, scan, devices.data(), ""), ZELK_ERR_BAD_INDEX) << index;
        DeviceInfo range[2] = {settings("10.0.0.1", "255.0.0.0", "10.0.0.1", 0), settings("10.0.0.9", "", "", 0)};
        const int indices[] = {0, index};
        EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 2, indices, ""), ZELK_ERR_BAD_INDEX) << index;
    }
    EXPECT_TRUE(sent.empty());
}

TEST_F(Configure, AnAddressTextThatIsNotDottedIpv4SendsNothing) {
    auto devices = found({camera(1)});
    const char* bad[] = {"", "192.168.1", "192.168.1.x", "1.2.3.256", "192.168.1.1 ", "-1.2.3.4"};
    for (const char* text : bad) {
        EXPECT_EQ(zelk_set_deviceinfo(0, devices.data(), settings(text, "255.0.0.0", "10.0.0.1", 0), scan, ""),
                  ZELK_ERR_BAD_ADDRESS) << text;
        EXPECT_EQ(zelk_set_deviceinfo(0, devices.data(), settings("10.0.0.2", text, "10.0.0.1", 0), scan, ""),
                  ZELK_ERR_BAD_ADDRESS) << text;
        EXPECT_EQ(zelk_set_deviceinfo(0, devices.data(), settings("10.0.0.2", "255.0.0.0", text, 0), scan, ""),
                  ZELK_ERR_BAD_ADDRESS) << text;
        DeviceInfo range[2] = {settings("10.0.0.1", text, "10.0.0.1", 0), settings("10.0.0.255", "", "", 0)};
        const int indices[] = {0};
        EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 1, indices, ""), ZELK_ERR_BAD_ADDRESS) << text;
    }
    EXPECT_TRUE(sent.empty());
}

class Walk : public Configure {
protected:
    // Addresses that answer, and every address probed in order.
    void answering(std::set<std::string> used) {
        zelk::setProbeForTests([this, used](const char* a) {
            probed.push_back(a);
            return used.count(a) != 0 ? 1 : 0;
        });
    }
    std::vector<std::string> probed;
};

TEST_F(Walk, TwoCamerasSkipAddressesInUseAndGoInTheOrderGiven) {
    auto devices = found({camera(1), camera(2), camera(3)});
    answering({"192.168.1.1", "192.168.1.2"});
    DeviceInfo range[2] = {settings("192.168.1.1", "255.255.255.0", "192.168.1.254", 0),
                           settings("192.168.1.255", "", "", 0)};
    const int indices[] = {2, 0};
    ASSERT_EQ(zelk_set_deviceinfo_multi(range, scan, 2, indices, ""), ZELK_OK);
    EXPECT_EQ(probed, (std::vector<std::string>{"192.168.1.1", "192.168.1.2", "192.168.1.3", "192.168.1.4",
                                                "192.168.1.5"}));
    EXPECT_EQ(traces.count("[_ping into MultiConfigureDevice] Exist ip address\n"), 2);
    ASSERT_EQ(sent.size(), 1u);
    const auto& r = sent[0];
    ASSERT_EQ(r.size(), 860u);
    char sender[24] = {};
    ASSERT_EQ(zelk::_getNetworkInfo(sender), ZELK_OK);
    EXPECT_EQ(bytesAt(r, 0, 8), (std::vector<uint8_t>{0x50, 0x43, 0x44, 0x50, 2, 0, 0, 0x10}));
    EXPECT_EQ(bytesAt(r, 8, 8), textBytes(std::string(sender, 8), 8));
    EXPECT_EQ(bytesAt(r, 16, 16), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 1, 0}));
    EXPECT_EQ(bytesAt(r, 32, 12), (std::vector<uint8_t>{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 3, 0x12, 0x34, 192, 168, 1, 3}));
    EXPECT_EQ(bytesAt(r, 44, 128), textBytes("administr", 128));
    EXPECT_EQ(bytesAt(r, 172, 260), textBytes("password-lo", 260));
    EXPECT_EQ(bytesAt(r, 432, 12), (std::vector<uint8_t>{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 1, 0x12, 0x34, 192, 168, 1, 4}));
    EXPECT_EQ(bytesAt(r, 832, 28), (std::vector<uint8_t>{2, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                         255, 255, 255, 0, 192, 168, 1, 254, 0, 0, 0, 0}));
}

TEST_F(Walk, FiveCamerasGoOutInTwoRequestsOfFourAndOne) {
    auto devices = found({camera(1), camera(2), camera(3), camera(4), camera(5)});
    answering({});
    DeviceInfo range[2] = {settings("10.0.0.10", "255.0.0.0", "10.0.0.1", 0), settings("10.0.0.255", "", "", 0)};
    const int indices[] = {0, 1, 2, 3, 4};
    ASSERT_EQ(zelk_set_deviceinfo_multi(range, scan, 5, indices, ""), ZELK_OK);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].size(), 60u + 4 * 400);
    EXPECT_EQ(sent[1].size(), 60u + 400);
    EXPECT_EQ(bytesAt(sent[0], 28, 2), (std::vector<uint8_t>{4, 0}));
    EXPECT_EQ(bytesAt(sent[1], 28, 2), (std::vector<uint8_t>{1, 0}));
    EXPECT_EQ(bytesAt(sent[1], 32, 12), (std::vector<uint8_t>{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 5, 0x12, 0x34, 10, 0, 0, 14}));
    EXPECT_EQ(probed.size(), 6u);
}

TEST_F(Walk, EdgesOfTheRange) {
    auto devices = found({camera(1), camera(2)});
    answering({"10.0.0.2"});
    struct Case {
        const char* first;
        const char* last;
        int cameras;
        size_t probes;
        size_t entries;
    };
    const Case cases[] = {
        {"10.0.0.1", "10.0.0.255", 0, 1, 0},   // no camera: stops at the first free address
        {"10.0.0.9", "10.0.0.3", 2, 0, 0},     // last below first: nothing probed
        {"10.0.0.1", "10.0.0.2", 2, 2, 1},     // fewer free addresses than cameras
        {"10.0.0.254", "10.0.0.255", 2, 2, 2}, // the walk ends with the range
    };
    const int indices[] = {0, 1};
    for (const Case& c : cases) {
        sent.clear();
        probed.clear();
        DeviceInfo range[2] = {settings(c.first, "255.0.0.0", "10.0.0.1", 0), settings(c.last, "", "", 0)};
        ASSERT_EQ(zelk_set_deviceinfo_multi(range, scan, c.cameras, indices, ""), ZELK_OK) << c.first;
        EXPECT_EQ(probed.size(), c.probes) << c.first << " " << c.last;
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].size(), 60 + 400 * c.entries) << c.first << " " << c.last;
        EXPECT_EQ(bytesAt(sent[0], 28, 2), (std::vector<uint8_t>{static_cast<uint8_t>(c.cameras), 0}));
    }
}

bool setPingGroups(const char* range) {
    std::ofstream file("/proc/sys/net/ipv4/ping_group_range");
    file << range;
    file.close();
    return !file.fail();
}

// Drops the privilege for raw sockets; the datagram socket is closed to every group already.
void loseEveryIcmpSocket() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    syscall(SYS_capget, &header, data);
    data[0].effective &= ~(1u << CAP_NET_RAW);
    syscall(SYS_capset, &header, data);
}

TEST_F(Walk, WithoutAnyIcmpSocketNothingIsHandedOut) {
    auto devices = found({camera(1)});
    answering({});
    DeviceInfo range[2] = {settings("10.0.0.1", "255.0.0.0", "10.0.0.1", 0), settings("10.0.0.9", "", "", 0)};
    const int indices[] = {0};
    auto handOut = [&] {
        loseEveryIcmpSocket();
        const int result = zelk_set_deviceinfo_multi(range, scan, 1, indices, "");
        std::exit(result == ZELK_ERR_NO_ICMP && sent.empty() && probed.empty() ? 0 : 1);
    };
    // A user namespace maps one group only and cannot close the range; the run as root does.
    if (!setPingGroups("1 0")) GTEST_SKIP() << "the ping group range cannot be closed here";
    EXPECT_EXIT(handOut(), ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(setPingGroups("0 2147483647") || setPingGroups("0 0"));
}

TEST(NetworkInfo, SenderTextIsTheFirstAdaptersHardwareAddress) {
    char sender[24];
    std::memset(sender, 'x', sizeof sender);
    ASSERT_EQ(zelk::_getNetworkInfo(sender), ZELK_OK);
    EXPECT_EQ(std::strlen(sender), 23u);
    // The namespace holds loopback and the pair wsA/camA: the first is the one of lower index.
    ifreq request{};
    std::strcpy(request.ifr_name, if_nametoindex("wsA") < if_nametoindex("camA") ? "wsA" : "camA");
    const int sock = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_EQ(::ioctl(sock, SIOCGIFHWADDR, &request), 0);
    ::close(sock);
    const auto* b = reinterpret_cast<const unsigned char*>(request.ifr_hwaddr.sa_data);
    char mac[24];
    std::snprintf(mac, sizeof mac, "%02x:%02x:%02x:%02x:%02x:%02x:00:00", b[0], b[1], b[2], b[3], b[4], b[5]);
    EXPECT_STREQ(sender, mac);
}

TEST(EchoRequest, EveryRequestChecksOutAndTheCountersMoveTogether) {
    const zelk::EchoSocket socket = zelk::openEchoSocket();
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr("192.168.1.99");
    uint16_t previous = 0;
    for (int i = 0; i < 10; ++i) {
        zelk::_sendEchoRequest(socket, to);
        const auto& r = zelk::lastEchoRequest();
        EXPECT_EQ(zelk::internetChecksum(r.data(), 48), 0);  // the sum of all words is 0xffff
        const uint16_t id = zelk::readU16(r.data() + 4);
        EXPECT_EQ(zelk::readU16(r.data() + 6), id);
        if (i > 0) {
            EXPECT_EQ(id, previous + 1);
        }
        previous = id;
        EXPECT_EQ(r[0], 8);
        EXPECT_EQ(r[16], 0x20);
        EXPECT_EQ(r[47], 0x3f);
    }
    ::close(socket.fd);
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
    EXPECT_EQ(traces.count("[nRet into _ping] Can not Request Timed Out\n"), 1);
}

TEST_P(EchoProbe, AHostThatAnswersOnlyTheFirstRequestIsInUse) {
    hosts.answer("192.168.1.53", 1);
    std::string report;
    EXPECT_EQ(ping("192.168.1.53", report), 1);
    EXPECT_EQ(lines(report, "Reply["), 1);
}

TEST_P(EchoProbe, MessagesThatAnswerNoRequestAreIgnored) {
    hosts.answer("192.168.1.54", 0);  // never answers...
    hosts.answer("192.168.1.55");
    hosts.sendNoiseFirst();           // ...but stray replies come and go
    std::string report;
    EXPECT_EQ(ping("192.168.1.55", report), 1);
    EXPECT_EQ(lines(report, "Reply["), 3);
    EXPECT_EQ(ping("192.168.1.54", report), 0);
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
    if (!testnet::enterPrivateNetwork(why) || !testnet::addSegment("wsA", "192.168.1.10/24", "camA") ||
        !testnet::setDefaultRoute("wsA") ||
        !testnet::run("for a in 51 52 53 54 55; do ip addr add 192.168.1.$a/32 dev camA || exit 1; done") ||
        !(std::ofstream("/proc/sys/net/ipv4/icmp_echo_ignore_all") << "1")) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segment" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}
