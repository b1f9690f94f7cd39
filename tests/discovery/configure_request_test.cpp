// The configuration requests byte for byte, their refusals and the address
// walk. Requests are captured instead of sent and candidate addresses are
// answered by a table, so nothing here touches a network.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <set>
#include <string>
#include <vector>

#include "broadcast_socket.h"
#include "config_request.h"
#include "echo_probe.h"
#include "ipv4_subnet.h"
#include "ipv4_text.h"
#include "network_info.h"
#include "reply_builder.h"
#include "scan_fixture.h"
#include "address_walk.h"
#include "text.h"
#include "zelk_testing.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesAt(const Bytes& d, size_t offset, size_t count) {
    return {d.begin() + static_cast<long>(offset), d.begin() + static_cast<long>(offset + count)};
}

// `text` cut or zero-filled to `size` bytes.
Bytes textBytes(const std::string& text, size_t size) {
    Bytes bytes(size, 0);
    std::memcpy(bytes.data(), text.data(), std::min(size, text.size()));
    return bytes;
}

Bytes cameraId(uint8_t n) { return {0x02, 0x1a, 0x2b, 0x3c, 0x4d, n, 0x12, 0x34}; }

class Configure : public ScanFixture {
protected:
    void SetUp() override {
        ScanFixture::SetUp();
        zelk::setLocalAddressesForTests(std::vector<zelk::Ipv4>{});  // the test machine's own do not count
        zelk::setRequestSenderForTests([this](const Bytes& r) {
            sent.push_back(r);
            return sendFails ? -1L : static_cast<long>(r.size());
        });
    }
    void TearDown() override {
        zelk::setRequestSenderForTests({});
        zelk::setProbeForTests({});
        zelk::setLocalAddressesForTests(std::nullopt);
        zelk::closeLibrarySocket();
    }

    // A search that found `cameras`; returns the caller's records.
    std::vector<DeviceInfo> found(const std::vector<ReplyCamera>& cameras) {
        zelk::g_deviceTable.count = 0;
        for (const auto& c : cameras) parse(ReplyBuilder().camera(c).bytes());
        return generate().devices;
    }

    static ReplyCamera camera(uint8_t n) {
        ReplyCamera c;
        std::copy_n(cameraId(n).begin(), 8, c.id.begin());
        c.ip[3] = n;
        c.userId = "administrator";
        c.password = "password-long-" + std::to_string(n);
        return c;
    }

    static DeviceInfo settings(const char* ip, const char* mask = "255.255.255.0", const char* gateway = "10.0.0.1",
                               char dhcp = 0) {
        DeviceInfo s{};
        zelk::setField(s.deviceName, "New name");
        zelk::setField(s.ipAddress, ip);
        zelk::setField(s.subnetMask, mask);
        zelk::setField(s.gateway, gateway);
        s.dhcp[0] = dhcp;
        return s;
    }

    std::vector<Bytes> sent;
    bool sendFails = false;
    char scan[16] = {};
};

TEST_F(Configure, SetDeviceInfoRequestByteForByte) {
    auto devices = found({camera(1), camera(2)});
    ASSERT_EQ(zelk_set_deviceinfo(1, devices.data(), settings("10.1.2.3", "255.255.0.0", "10.1.0.1", 1), scan, ""),
              ZELK_OK);
    ASSERT_EQ(sent.size(), 1u);
    const Bytes& r = sent[0];
    ASSERT_EQ(r.size(), 480u);
    EXPECT_EQ(bytesAt(r, 0, 8), (Bytes{0x50, 0x43, 0x44, 0x50, 2, 0, 0, 0}));
    EXPECT_EQ(bytesAt(r, 8, 8), Bytes(8, 0));
    EXPECT_EQ(bytesAt(r, 16, 8), cameraId(2));
    EXPECT_EQ(bytesAt(r, 24, 8), (Bytes{3, 0, 0, 0, 2, 0, 24, 0}));
    EXPECT_EQ(bytesAt(r, 32, 8), cameraId(2));
    EXPECT_EQ(bytesAt(r, 40, 16), (Bytes{10, 1, 2, 3, 255, 255, 0, 0, 10, 1, 0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(bytesAt(r, 56, 4), (Bytes{1, 0, 28, 0}));
    EXPECT_EQ(bytesAt(r, 60, 28), textBytes("New name", 28));
    EXPECT_EQ(bytesAt(r, 88, 4), (Bytes{4, 0, 0x84, 0x01}));
    EXPECT_EQ(bytesAt(r, 92, 128), textBytes("administr", 128));
    EXPECT_EQ(bytesAt(r, 220, 260), textBytes("password-lo", 260));
    EXPECT_EQ(m_sock, -1);
    EXPECT_EQ(traces.count("[m_sock into zelk_search_device] Can initialize win-socket\n"), 1);
    EXPECT_EQ(traces.count("[sendto into zelk_set_deviceinfo] Can send packet\n"), 1);
}

TEST_F(Configure, FactoryDefaultRequestByteForByte) {
    auto devices = found({camera(7)});
    ASSERT_EQ(zelk_factory_default(0, scan, devices.data(), ""), ZELK_OK);
    ASSERT_EQ(sent.size(), 1u);
    const Bytes& r = sent[0];
    ASSERT_EQ(r.size(), 428u);
    EXPECT_EQ(bytesAt(r, 0, 16), (Bytes{0x50, 0x43, 0x44, 0x50, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytesAt(r, 16, 8), cameraId(7));
    EXPECT_EQ(bytesAt(r, 24, 8), (Bytes{2, 0, 0, 0, 4, 0, 0x84, 0x01}));
    EXPECT_EQ(bytesAt(r, 32, 128), textBytes("administr", 128));
    EXPECT_EQ(bytesAt(r, 160, 260), textBytes("password-lo", 260));
    EXPECT_EQ(bytesAt(r, 420, 8), (Bytes{0x01, 0x10, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m_sock, -1);
    EXPECT_EQ(traces.count("[sendto into zelk_factory_default] Can send packet\n"), 1);
}

TEST_F(Configure, TextsAreCutToTheirFieldsAndNothingAfterTheirEndGoesOut) {
    auto devices = found({camera(1)});
    devices[0].userId[3] = '\0';  // "adm", then the rest of a longer text
    DeviceInfo s = settings("10.1.2.3");
    zelk::setField(s.deviceName, std::string(40, 'n'));
    ASSERT_EQ(zelk_set_deviceinfo(0, devices.data(), s, scan, ""), ZELK_OK);
    EXPECT_EQ(bytesAt(sent[0], 60, 28), Bytes(28, 'n'));  // no terminator
    EXPECT_EQ(bytesAt(sent[0], 88, 2), (Bytes{4, 0}));
    EXPECT_EQ(bytesAt(sent[0], 92, 128), textBytes("adm", 128));

    std::strcpy(s.deviceName, "Hall");
    s.deviceName[10] = 'x';  // stale bytes behind the terminator
    ASSERT_EQ(zelk_set_deviceinfo(0, devices.data(), s, scan, ""), ZELK_OK);
    EXPECT_EQ(bytesAt(sent[1], 60, 28), textBytes("Hall", 28));
}

TEST_F(Configure, AFailedSendLeavesTheSocketForTheNextCommand) {
    auto devices = found({camera(1)});
    DeviceInfo range[2] = {settings("10.0.0.1"), settings("10.0.0.9")};
    const int indices[] = {0};
    zelk::setProbeForTests([](const char*) { return 0; });
    sendFails = true;
    EXPECT_EQ(zelk_set_deviceinfo(0, devices.data(), settings("10.0.0.2"), scan, ""), ZELK_ERR_SEND_SET);
    EXPECT_EQ(traces.count("[sendto into zelk_set_deviceinfo] Can not send packet!!\n"), 1);
    EXPECT_GE(m_sock, 0);
    EXPECT_EQ(zelk_factory_default(0, scan, devices.data(), ""), ZELK_ERR_SEND_FACTORY);
    EXPECT_EQ(traces.count("[sendto into zelk_factory_default] Can not send packet!!\n"), 1);
    EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 1, indices, ""), ZELK_ERR_SEND_SET);
    EXPECT_EQ(traces.count("[sendto into zelk_set_deviceinfo_multi] Can not send packet!!\n"), 1);
    EXPECT_GE(m_sock, 0);
    sendFails = false;
    EXPECT_EQ(zelk_factory_default(0, scan, devices.data(), ""), ZELK_OK);
    EXPECT_EQ(m_sock, -1);
}

TEST_F(Configure, AnIndexTheLastSearchDidNotFindSendsNothing) {
    found({camera(1), camera(2), camera(3)});
    auto devices = found({camera(1)});  // a later search found fewer cameras
    zelk::setProbeForTests([](const char*) { return 0; });
    for (int index : {-1, 1, 2, ZELK_MAX_DEVICES}) {
        EXPECT_EQ(zelk_set_deviceinfo(index, devices.data(), settings("10.1.2.3"), scan, ""), ZELK_ERR_BAD_INDEX);
        EXPECT_EQ(zelk_factory_default(index, scan, devices.data(), ""), ZELK_ERR_BAD_INDEX);
        DeviceInfo range[2] = {settings("10.0.0.1"), settings("10.0.0.9")};
        const int indices[] = {0, index};
        EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 2, indices, ""), ZELK_ERR_BAD_INDEX) << index;
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(traces.count("[index into zelk_set_deviceinfo] Can not find camera of last search\n"), 4);
}

TEST_F(Configure, AnAddressTextThatIsNotDottedIpv4SendsNothing) {
    auto devices = found({camera(1)});
    std::vector<std::string> probed;
    zelk::setProbeForTests([&](const char* a) {
        probed.push_back(a);
        return 0;
    });
    const int indices[] = {0};
    for (const char* text : {"", "192.168.1", "192.168.1.x", "1.2.3.256", "192.168.1.1 ", " 1.2.3.4", "-1.2.3.4",
                             "010.0.0.1", "1.2.3.4.5", "0x7f.0.0.1"}) {
        EXPECT_EQ(zelk_set_deviceinfo(0, devices.data(), settings(text), scan, ""), ZELK_ERR_BAD_ADDRESS) << text;
        EXPECT_EQ(zelk_set_deviceinfo(0, devices.data(), settings("10.0.0.2", text), scan, ""), ZELK_ERR_BAD_ADDRESS);
        EXPECT_EQ(zelk_set_deviceinfo(0, devices.data(), settings("10.0.0.2", "255.0.0.0", text), scan, ""),
                  ZELK_ERR_BAD_ADDRESS);
        for (int field = 0; field < 4; ++field) {
            DeviceInfo range[2] = {settings("10.0.0.1"), settings("10.0.0.255")};
            char* texts[] = {range[0].ipAddress, range[0].subnetMask, range[0].gateway, range[1].ipAddress};
            zelk::setField(texts[field], 255, text);
            EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 1, indices, ""), ZELK_ERR_BAD_ADDRESS) << field << text;
        }
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(probed.empty());
    EXPECT_EQ(m_sock, -1);  // refused before the socket was opened
}

class Walk : public Configure {
protected:
    // Addresses that answer; every address probed is noted in order.
    void answering(std::set<std::string> used) {
        zelk::setProbeForTests([this, used](const char* a) {
            note(a);
            return used.count(a) != 0 ? 1 : 0;
        });
    }
    static std::string senderText() {
        char sender[24] = {};
        zelk::_getNetworkInfo(sender);  // zeros when the adapters cannot be read
        return std::string(sender, 8);
    }
    // Probes may run side by side.
    void note(const char* address) {
        const std::lock_guard<std::mutex> lock(probing);
        probed.push_back(address);
    }
    std::mutex probing;
    std::vector<std::string> probed;
};

TEST_F(Walk, TwoCamerasSkipAddressesInUseAndGoInTheOrderGiven) {
    found({camera(1), camera(2), camera(3)});
    answering({"192.168.1.1", "192.168.1.2"});
    DeviceInfo range[2] = {settings("192.168.1.1", "255.255.255.0", "192.168.1.254"), settings("192.168.1.255")};
    const int indices[] = {2, 0};
    ASSERT_EQ(zelk_set_deviceinfo_multi(range, scan, 2, indices, ""), ZELK_OK);
    std::sort(probed.begin(), probed.end());
    EXPECT_EQ(probed, (std::vector<std::string>{"192.168.1.1", "192.168.1.2", "192.168.1.3", "192.168.1.4",
                                                "192.168.1.5"}));
    EXPECT_EQ(traces.count("[_ping into MultiConfigureDevice] Exist ip address\n"), 2);
    ASSERT_EQ(sent.size(), 1u);
    const Bytes& r = sent[0];
    ASSERT_EQ(r.size(), 860u);
    EXPECT_EQ(bytesAt(r, 0, 8), (Bytes{0x50, 0x43, 0x44, 0x50, 2, 0, 0, 0x10}));
    EXPECT_EQ(bytesAt(r, 8, 8), textBytes(senderText(), 8));
    EXPECT_EQ(bytesAt(r, 16, 16), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 1, 0}));
    EXPECT_EQ(bytesAt(r, 32, 8), cameraId(3));
    EXPECT_EQ(bytesAt(r, 40, 4), (Bytes{192, 168, 1, 3}));
    EXPECT_EQ(bytesAt(r, 44, 128), textBytes("administr", 128));
    EXPECT_EQ(bytesAt(r, 172, 260), textBytes("password-lo", 260));
    EXPECT_EQ(bytesAt(r, 432, 8), cameraId(1));
    EXPECT_EQ(bytesAt(r, 440, 4), (Bytes{192, 168, 1, 4}));
    EXPECT_EQ(bytesAt(r, 832, 28), (Bytes{2, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          255, 255, 255, 0, 192, 168, 1, 254, 0, 0, 0, 0}));
    EXPECT_EQ(m_sock, -1);
    EXPECT_EQ(traces.count("[sendto into zelk_set_deviceinfo_multi] Can send packet\n"), 1);
}

TEST_F(Walk, MoreThanFourCamerasGoOutFourByFour) {
    found({camera(1), camera(2), camera(3), camera(4), camera(5)});
    answering({"10.0.0.12"});
    DeviceInfo range[2] = {settings("10.0.0.10", "255.0.0.0", "10.0.0.1"), settings("10.0.0.255")};
    const int indices[] = {4, 3, 2, 1, 0};
    ASSERT_EQ(zelk_set_deviceinfo_multi(range, scan, 5, indices, ""), ZELK_OK);
    EXPECT_EQ(probed.size(), 7u);  // .10 to .16, .12 in use
    ASSERT_EQ(sent.size(), 2u);
    ASSERT_EQ(sent[0].size(), 1660u);
    ASSERT_EQ(sent[1].size(), 460u);
    const uint8_t addresses[] = {10, 11, 13, 14};
    for (int e = 0; e < 4; ++e) {
        EXPECT_EQ(bytesAt(sent[0], 32 + 400 * e, 8), cameraId(static_cast<uint8_t>(5 - e)));
        EXPECT_EQ(bytesAt(sent[0], 40 + 400 * e, 4), (Bytes{10, 0, 0, addresses[e]}));
    }
    EXPECT_EQ(bytesAt(sent[0], 28, 4), (Bytes{4, 0, 1, 0}));
    EXPECT_EQ(bytesAt(sent[1], 0, 28), bytesAt(sent[0], 0, 28));
    EXPECT_EQ(bytesAt(sent[1], 28, 4), (Bytes{1, 0, 1, 0}));
    EXPECT_EQ(bytesAt(sent[1], 32, 12), (Bytes{0x02, 0x1a, 0x2b, 0x3c, 0x4d, 1, 0x12, 0x34, 10, 0, 0, 15}));
    EXPECT_EQ(bytesAt(sent[1], 44, 128), textBytes("administr", 128));
    EXPECT_EQ(bytesAt(sent[1], 432, 28), bytesAt(sent[0], 1632, 28));  // the same network item
    EXPECT_EQ(traces.count("[sendto into zelk_set_deviceinfo_multi] Can send packet\n"), 2);
}

TEST_F(Walk, EdgesOfTheRange) {
    found({camera(1), camera(2), camera(3), camera(4), camera(5), camera(6)});
    answering({"10.0.0.2"});  // the gateway is 10.0.0.1, the mask 255.255.255.0
    struct Case {
        const char* first;
        const char* last;
        int cameras;
        size_t probes;
        std::vector<size_t> sizes;  // of each request sent
        std::vector<uint8_t> asked; // the field at offset 28 of each
    };
    const Case cases[] = {
        {"10.0.0.1", "10.0.0.255", 0, 3, {}, {}},          // no camera: stops at the first free address
        {"10.0.0.9", "10.0.0.3", 2, 0, {}, {}},            // last below first: nothing probed
        {"10.0.0.2", "10.0.0.3", 2, 2, {460}, {2}},        // fewer free addresses than cameras
        {"10.0.0.1", "10.0.0.2", 2, 2, {}, {}},            // no free address: no request without an entry
        {"10.0.0.253", "10.0.0.255", 2, 2, {860}, {2}},    // the walk ends with the range, before .255
        {"10.0.0.1", "10.0.0.5", 6, 5, {1260}, {4}},       // none left for the second request
        {"10.0.0.0", "10.0.0.5", 1, 4, {460}, {1}},        // the network address is not probed, the gateway is
    };
    const int indices[] = {0, 1, 2, 3, 4, 5};
    for (const Case& c : cases) {
        sent.clear();
        probed.clear();
        DeviceInfo range[2] = {settings(c.first), settings(c.last)};
        ASSERT_EQ(zelk_set_deviceinfo_multi(range, scan, c.cameras, indices, ""), ZELK_OK) << c.first;
        EXPECT_EQ(probed.size(), c.probes) << c.first << " " << c.last;
        ASSERT_EQ(sent.size(), c.sizes.size()) << c.first << " " << c.last;
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].size(), c.sizes[i]) << c.first << " " << c.last;
            EXPECT_EQ(bytesAt(sent[i], 28, 2), (Bytes{c.asked[i], 0})) << c.first << " " << c.last;
        }
    }
}

TEST_F(Walk, ARangeAcrossPrefixesIsRefused) {
    found({camera(1)});
    answering({});
    const int indices[] = {0};
    // Taking the last address's prefix for both would move the range to 10.88.0.x.
    DeviceInfo range[2] = {settings("10.77.0.5", "255.0.0.0"), settings("10.88.0.6")};
    EXPECT_EQ(zelk_set_deviceinfo_multi(range, scan, 1, indices, ""), ZELK_ERR_BAD_ADDRESS);
    EXPECT_EQ(zelk::planAddresses(range, 1, indices, "").result, ZELK_ERR_BAD_ADDRESS);
    EXPECT_TRUE(probed.empty());
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(m_sock, -1);
}

TEST_F(Walk, ThePlanSaysWhatWasSkippedAndWhichCamerasGotNone) {
    found({camera(1), camera(2), camera(3), camera(4), camera(5)});
    zelk::setLocalAddressesForTests(std::vector<zelk::Ipv4>{{192, 168, 1, 10}, {192, 168, 1, 252}});
    zelk::setProbeForTests([this](const char* a) {
        note(a);
        const std::string address = a;
        return address == "192.168.1.2" || address == "192.168.1.251" ? 1 : address == "192.168.1.3" ? 2 : 0;
    });
    using zelk::SkipReason;
    using Skips = std::vector<std::pair<std::string, SkipReason>>;
    struct Case {
        const char* first;
        const char* last;
        std::vector<std::string> assigned;
        Skips skipped;
        std::vector<std::string> probes;
        size_t requests;  // none for the fifth camera when it got no address
    };
    const Case cases[] = {
        {"192.168.1.0", "192.168.1.255", {"192.168.1.4", "192.168.1.5", "192.168.1.6", "192.168.1.7", "192.168.1.8"},
         {{"192.168.1.0", SkipReason::NetworkAddress}, {"192.168.1.1", SkipReason::Gateway},
          {"192.168.1.2", SkipReason::AnswersPing}, {"192.168.1.3", SkipReason::AnswersArp}},
         {"192.168.1.1", "192.168.1.2", "192.168.1.3", "192.168.1.4", "192.168.1.5", "192.168.1.6", "192.168.1.7",
          "192.168.1.8", "192.168.1.9"},
         2},
        {"192.168.1.250", "192.168.1.255", {"192.168.1.250", "192.168.1.253", "192.168.1.254", "", ""},
         {{"192.168.1.251", SkipReason::AnswersPing}, {"192.168.1.252", SkipReason::OwnAddress},
          {"192.168.1.255", SkipReason::BroadcastAddress}},
         {"192.168.1.250", "192.168.1.251", "192.168.1.252", "192.168.1.253", "192.168.1.254"},
         1},
    };
    const int indices[] = {4, 3, 2, 1, 0};
    for (const Case& c : cases) {
        probed.clear();
        sent.clear();
        traces.lines.clear();
        DeviceInfo range[2] = {settings(c.first, "255.255.255.0", "192.168.1.1"), settings(c.last)};
        std::vector<std::pair<std::string, int>> progress;
        const zelk::AddressPlan plan = zelk::planAddresses(
            range, 5, indices, "", [&](const std::string& address, int placed) { progress.emplace_back(address, placed); });
        ASSERT_EQ(plan.result, ZELK_OK);
        EXPECT_EQ(plan.assigned, c.assigned) << c.first;
        Skips skipped;
        for (const auto& s : plan.skipped) skipped.emplace_back(s.address, s.reason);
        EXPECT_EQ(skipped, c.skipped) << c.first;
        std::sort(probed.begin(), probed.end());  // probes may run side by side
        EXPECT_EQ(probed, c.probes) << c.first;
        EXPECT_EQ(traces.count("[_ping into MultiConfigureDevice] Exist ip address\n"), std::ssize(c.skipped));
        EXPECT_TRUE(sent.empty());
        // Candidates are reported in address order, as they are decided.
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.front().first, c.first);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        EXPECT_EQ(progress.back().second, static_cast<int>(std::count_if(c.assigned.begin(), c.assigned.end(),
                                                                          [](const auto& a) { return !a.empty(); })));

        ASSERT_EQ(zelk::sendAddressPlan(plan, range, 5, indices, ""), ZELK_OK);
        ASSERT_EQ(sent.size(), c.requests) << c.first;
        EXPECT_EQ(bytesAt(sent[0], 28, 2), (Bytes{4, 0}));
        EXPECT_EQ(bytesAt(sent[0], 32, 8), cameraId(5));
        EXPECT_EQ(bytesAt(sent[0], 40, 4), (Bytes{192, 168, 1, static_cast<uint8_t>(std::stoi(
                                                                        c.assigned[0].substr(c.assigned[0].rfind('.') + 1)))}));
    }
}

TEST_F(Walk, ProbesThatEndOutOfOrderDecideAsTheSerialWalk) {
    found({camera(1), camera(2), camera(3), camera(4), camera(5), camera(6)});
    const int indices[] = {5, 4, 3, 2, 1, 0};
    // Which of 10.0.0.2 .. 10.0.0.30 answer (1 ping, 2 ARP); the gateway is 10.0.0.1.
    const std::vector<std::vector<int>> patterns = {
        {}, {1, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 0, 2, 0, 1, 0, 2, 0, 1, 0, 0}, {2, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0},
        std::vector<int>(29, 1),
    };
    for (const auto& pattern : patterns) {
        auto answer = [&pattern](const std::string& address) {
            const size_t n = std::stoul(address.substr(address.rfind('.') + 1)) - 2;
            return n < pattern.size() ? pattern[n] : 0;
        };
        // The walk one address after another, as it was.
        std::vector<std::string> assigned(6);
        size_t placed = 0;
        std::vector<std::string> serialProbes{"10.0.0.1"};  // the gateway, probed and never handed out
        for (int n = 2; n <= 30; ++n) {
            const std::string address = "10.0.0." + std::to_string(n);
            serialProbes.push_back(address);
            if (answer(address) != 0) continue;
            if (placed == assigned.size()) break;
            assigned[placed++] = address;
        }
        // Lower addresses take longer, so that later probes end first.
        probed.clear();
        zelk::setProbeForTests([&](const char* a) {
            note(a);
            const int n = std::stoi(std::string(a).substr(std::string(a).rfind('.') + 1));
            std::this_thread::sleep_for(std::chrono::milliseconds(40 - n));
            return answer(a);
        });
        DeviceInfo range[2] = {settings("10.0.0.1"), settings("10.0.0.30")};
        const zelk::AddressPlan plan = zelk::planAddresses(range, 6, indices, "");
        ASSERT_EQ(plan.result, ZELK_OK);
        EXPECT_EQ(plan.assigned, assigned);
        ASSERT_GE(plan.skipped.size(), 1u);
        EXPECT_EQ(plan.skipped.front().reason, zelk::SkipReason::Gateway);
        for (size_t i = 1; i < plan.skipped.size(); ++i) {
            EXPECT_EQ(static_cast<int>(plan.skipped[i].reason), answer(plan.skipped[i].address) == 1 ? 0 : 1);
            EXPECT_LT(zelk::ipv4Number(*zelk::dottedAddress(plan.skipped[i - 1].address.c_str(), 16)),
                      zelk::ipv4Number(*zelk::dottedAddress(plan.skipped[i].address.c_str(), 16)));
        }
        // Not one address more is probed than the serial walk probed.
        std::sort(probed.begin(), probed.end());
        std::sort(serialProbes.begin(), serialProbes.end());
        EXPECT_EQ(probed, serialProbes);
    }
}

TEST(EchoReply, ParsedOnlyAsFarAsTheBytesGo) {
    // An echo reply after an IPv4 header of 20 bytes (TTL 64), 24 (options) or an impossible 16.
    auto datagram = [](int headerWords, size_t icmpBytes) {
        Bytes d(static_cast<size_t>(headerWords) * 4, 0);
        d[0] = static_cast<uint8_t>(0x40 | headerWords);
        d[8] = 64;
        const Bytes icmp = {0, 0, 0xaa, 0xbb, 0x07, 0x00, 0x09, 0x00, 0, 0, 0, 0, 0x78, 0x56, 0x34, 0x12};
        d.insert(d.end(), icmp.begin(), icmp.begin() + static_cast<long>(std::min(icmpBytes, icmp.size())));
        return d;
    };
    struct Case {
        Bytes bytes;
        bool withIpHeader;
        int type, ttl, sequence;
        uint32_t tick;
    };
    const Case cases[] = {
        {datagram(5, 16), true, 0, 64, 9, 0x12345678},
        {datagram(6, 16), true, 0, 64, 9, 0x12345678},
        {datagram(5, 15), true, 0xff, 64, 0, 0},      // cut before the end of the tick count
        {datagram(5, 8), true, 0xff, 64, 0, 0},       // no tick count
        {datagram(4, 16), true, 0xff, 64, 0, 0},      // a header length below 20 bytes
        {Bytes(19, 0x4f), true, 0xff, 0, 0, 0},        // not even the IPv4 header
        {datagram(15, 0), true, 0xff, 64, 0, 0},      // a header length past the end
        {bytesAt(datagram(5, 16), 20, 16), false, 0, 0, 9, 0x12345678},
        {bytesAt(datagram(5, 16), 20, 12), false, 0xff, 0, 0, 0},
        {Bytes{}, false, 0xff, 0, 0, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const zelk::EchoReply r = zelk::parseEchoReply(c.bytes.data(), c.bytes.size(), c.withIpHeader);
        EXPECT_EQ(r.type, c.type) << i;
        EXPECT_EQ(r.ttl, c.ttl) << i;
        EXPECT_EQ(zelk::readU16(r.sequence.data()), c.sequence) << i;
        EXPECT_EQ(r.tick, c.tick) << i;
    }
}

TEST(EchoRequest, CountersChecksumAndLayout) {
    // The only requests this process builds: the counters start at 1.
    for (uint16_t n = 1; n <= 10; ++n) {
        const auto& r = zelk::buildEchoRequest();
        EXPECT_EQ(zelk::readU16(r.data() + 4), n);
        EXPECT_EQ(zelk::readU16(r.data() + 6), n);
        // The ones' complement sum of all 24 words, the checksum included, is 0xffff.
        EXPECT_EQ(zelk::internetChecksum(r.data(), zelk::ECHO_REQUEST_SIZE), 0);
        EXPECT_EQ(bytesAt(Bytes(r.begin(), r.end()), 0, 2), (Bytes{8, 0}));
        EXPECT_EQ(zelk::readU32(r.data() + 8), 0u);
        for (int i = 0; i < zelk::ECHO_FILLER_SIZE; ++i) EXPECT_EQ(r[16 + i], 0x20 + i);
    }
}

TEST(EchoRequest, InternetChecksumOfKnownWords) {
    // RFC 1071's example words 0001 f203 f4f5 f6f7 sum to ddf2 (checksum 220d), read in host order.
    const uint8_t words[] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
    const uint16_t checksum = zelk::internetChecksum(words, sizeof words);
    uint8_t stored[2];
    std::memcpy(stored, &checksum, 2);
    EXPECT_EQ(stored[0], 0x22);
    EXPECT_EQ(stored[1], 0x0d);
}

}  // namespace
