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

#include "packet.h"
#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "text.h"
#include "trace_capture.h"
#include "zelk.h"
#include "zelk_search.h"
#include "zelk_testing.h"

namespace {

using Datagram = std::vector<uint8_t>;

constexpr auto WINDOW = std::chrono::milliseconds(1200);
// Generous: the search must return, on however loaded a machine; its length is the benchmark's business.
constexpr auto DEADLINE = std::chrono::seconds(60);

ReplyCamera cameraNumber(int n, const std::string& name) {
    ReplyCamera c;
    c.id = {0x02, 0x42, 0x00, 0x00, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n), 0, 0};
    c.ip = {192, 168, 1, static_cast<uint8_t>(n % 200 + 20)};
    c.name = name;
    return c;
}

std::vector<ReplyCamera> wellFormed() {
    std::vector<ReplyCamera> cameras;
    for (int n = 0; n < 3; ++n) {
        ReplyCamera c = cameraNumber(n, "good-" + std::to_string(n));
        c.dhcp = static_cast<uint8_t>(n % 2);
        c.version = "2.4." + std::to_string(n);
        c.rtsp1 = "rtsp://192.168.1." + std::to_string(c.ip[3]) + ":554/1";
        c.web = "http://192.168.1." + std::to_string(c.ip[3]);
        cameras.push_back(c);
    }
    return cameras;
}

Datagram replyOf(const ReplyCamera& c) { return ReplyBuilder().camera(c).bytes(); }

// What a listed camera must show: its record keeps the camera's bytes (cut
// to the field), the document its texts decoded as camera text.
struct Listed {
    ReplyCamera camera;
    std::string shownVersion;
};

Listed listed(const ReplyCamera& c) { return {c, zelk::cameraText(c.version)}; }

std::string addressText(const std::array<uint8_t, 4>& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." + std::to_string(a[3]);
}

std::string macText(const std::array<uint8_t, 8>& id) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x-%02x-%02x-%02x-%02x-%02x", id[0], id[1], id[2], id[3], id[4], id[5]);
    return text;
}

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

    const Json::Value& shown = s.document["oScanData"]["oDATA_" + std::to_string(index)];
    EXPECT_EQ(shown.size(), 14u);
    EXPECT_EQ(shown["sIP"].asString(), ip);
    EXPECT_EQ(shown["sMac"].asString(), mac);
    EXPECT_EQ(shown["sGateWay"].asString(), addressText(c.gateway));
    EXPECT_EQ(shown["sNetMask"].asString(), addressText(c.mask));
    EXPECT_EQ(shown["bDHCP"].asBool(), c.dhcp != 0);
    EXPECT_EQ(shown["sVersion"].asString(), expected.shownVersion);
    const std::pair<const char*, const std::string*> texts[] = {
        {"sDeviceName", &c.name}, {"sModelName", &c.model}, {"sUserID", &c.userId}, {"sPW", &c.password},
        {"sRTSPURL1", &c.rtsp1},  {"sRTSPURL2", &c.rtsp2},  {"sRTSPURL3", &c.rtsp3}, {"sWebURL", &c.web},
    };
    for (const auto& [key, bytes] : texts) EXPECT_EQ(shown[key].asString(), zelk::cameraText(*bytes)) << key;
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One hostile sender's datagrams and the cameras among them that must be listed.
struct Hostile {
    std::vector<Datagram> datagrams;
    std::vector<Listed> alsoListed;
    std::string heard = {};  // a trace line that shows the hostile datagrams arrived
};

const char* const MALFORMED = "[item into _parsePacket] Can not read items within packet\n";

class HostileCameras : public ::testing::Test {
protected:
    void SetUp() override { zelk::setReceiveWindowForTests(WINDOW); }
    void TearDown() override { zelk::setReceiveWindowForTests(std::chrono::milliseconds(0)); }

    // The well-formed cameras answer first, the hostile sender right after
    // them from the same host, so both fall within the window.
    zelk::SearchResult search(const std::vector<Datagram>& hostile) {
        std::vector<Datagram> replies;
        for (const ReplyCamera& c : wellFormed()) replies.push_back(replyOf(c));
        replies.insert(replies.end(), hostile.begin(), hostile.end());
        Responder sender("camA", std::move(replies));
        auto running = std::async(std::launch::async, [] { return zelk::searchCameras(""); });
        if (running.wait_for(WINDOW + DEADLINE) != std::future_status::ready) {
            std::fprintf(stderr, "the search did not return\n");
            std::_Exit(1);  // a thread stuck in the library cannot be joined
        }
        return running.get();
    }

    // The well-formed cameras and `alsoListed`, each with exactly its fields, and nothing else.
    void expectExactly(const zelk::SearchResult& s, const std::vector<Listed>& alsoListed) {
        ASSERT_EQ(s.result, ZELK_OK);
        ASSERT_TRUE(s.document.isObject());
        std::vector<Listed> all;
        for (const ReplyCamera& c : wellFormed()) all.push_back(listed(c));
        all.insert(all.end(), alsoListed.begin(), alsoListed.end());
        EXPECT_EQ(s.count, static_cast<int>(all.size()));
        EXPECT_EQ(s.document["nNOIPCAM"].asInt(), s.count);
        EXPECT_FALSE(s.dropped);
        for (const Listed& l : all) expectListed(s, l);
    }

    TraceCapture traces;
};

// A reply with every item, of a camera of its own.
ReplyCamera hostileCamera(int n) {
    ReplyCamera c = cameraNumber(n, "hostile-" + std::to_string(n));
    c.rtsp1 = c.rtsp2 = c.rtsp3 = "rtsp://h/" + std::to_string(n);
    c.web = "http://h/" + std::to_string(n);
    return c;
}

void putU16(Datagram& d, size_t at, uint16_t v) {
    d[at] = static_cast<uint8_t>(v);
    d[at + 1] = static_cast<uint8_t>(v >> 8);
}

void putI32(Datagram& d, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) d[at + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

// The offset of the last item's header.
size_t lastItemAt(const Datagram& d) {
    size_t at = zelk::IDCP_HEADER_SIZE;
    size_t last = at;
    while (at + 4 <= d.size()) {
        last = at;
        at += 4 + static_cast<size_t>(d[at + 2] | (d[at + 3] << 8));
    }
    return last;
}

Hostile truncations() {
    Hostile h;
    const Datagram whole = replyOf(hostileCamera(100));
    for (size_t n = 0; n < whole.size(); ++n) h.datagrams.emplace_back(whole.begin(), whole.begin() + static_cast<long>(n));
    h.heard = MALFORMED;
    return h;
}

Hostile itemsRunningPastTheEnd() {
    Hostile h;
    int n = 110;
    for (int past : {1, 2, 100, 65535}) {
        Datagram d = replyOf(hostileCamera(n++));
        const size_t at = lastItemAt(d);
        const size_t real = d.size() - at - 4;
        putU16(d, at + 2, static_cast<uint16_t>(std::min<size_t>(65535, real + static_cast<size_t>(past))));
        h.datagrams.push_back(d);
    }
    h.heard = MALFORMED;
    return h;
}

// itemCount 0 and the negative ones store the header and read no item: a
// camera of zeros, listed once; 0x7fffffff runs out of items.
Hostile itemCounts() {
    Hostile h;
    for (int32_t count : {0, -1, 0x7fffffff, INT32_MIN}) {
        Datagram d = replyOf(hostileCamera(120));
        putI32(d, 24, count);
        h.datagrams.push_back(d);
    }
    ReplyCamera zeros;
    zeros.id = {};
    zeros.ip = zeros.mask = zeros.gateway = {};
    zeros.version = zeros.name = zeros.model = zeros.userId = zeros.password = "";
    h.alsoListed.push_back({zeros, ".0"});
    h.heard = MALFORMED;
    return h;
}

Hostile shortNetworkAndAccountItems() {
    const ReplyCamera c = hostileCamera(130);
    std::vector<uint8_t> network(23, 7);
    std::vector<uint8_t> account(387, 'a');
    return {{ReplyBuilder().text(0x101, "1.0.0").text(0x102, "n").text(0x103, "m").item(zelk::ITEM_NETWORK, network).bytes(),
             ReplyBuilder().camera(c).item(zelk::ITEM_ACCOUNT, account).bytes(),
             ReplyBuilder().text(0x101, "1.0.0").network(hostileCamera(131)).item(zelk::ITEM_ACCOUNT, account).bytes()},
            {},
            MALFORMED};
}

// A reply padded with an unknown item to exactly `size` bytes.
Datagram sized(const ReplyCamera& c, size_t size) {
    const size_t plain = replyOf(c).size();
    return ReplyBuilder().camera(c).item(0x0200, std::vector<uint8_t>(size - plain - 4, 'p')).bytes();
}

Hostile datagramSizes() {
    const ReplyCamera fits = hostileCamera(140);
    return {{sized(fits, 1024), sized(hostileCamera(141), 1025), sized(hostileCamera(142), 65507)},
            {listed(fits)},
            "[recvfrom into _discovery_device] J == -1\n"};
}

// Texts of the full width with no zero: the first camera fills the
// version, name, model and account, the second every URL.
Hostile unterminatedTexts() {
    ReplyCamera slots = cameraNumber(150, std::string(128, 'N'));
    slots.version = "1.2." + std::string(124, '3');
    slots.model = std::string(128, 'M');
    slots.userId = std::string(128, 'U');
    slots.password = std::string(256, 'P');
    ReplyBuilder first;
    first.text(0x101, slots.version, false).text(0x102, slots.name, false).text(0x103, slots.model, false);
    first.network(slots);
    std::vector<uint8_t> account(zelk::ACCOUNT_ITEM_SIZE, 0);
    std::fill(account.begin(), account.begin() + 384, 'U');
    std::fill(account.begin() + 128, account.begin() + 384, 'P');
    first.item(zelk::ITEM_ACCOUNT, account);

    ReplyCamera urls = cameraNumber(151, "u");
    urls.version = "1.2.3";
    urls.model = "m";
    urls.userId = urls.password = "";
    urls.rtsp1 = std::string(255, '1');
    urls.rtsp2 = std::string(255, '2');
    urls.rtsp3 = std::string(255, '3');
    urls.web = std::string(128, 'W');
    ReplyBuilder second;
    second.text(0x101, urls.version).text(0x102, urls.name).text(0x103, urls.model).network(urls);
    second.text(zelk::ITEM_RTSP_URL1, urls.rtsp1, false).text(zelk::ITEM_RTSP_URL2, urls.rtsp2, false);
    second.text(zelk::ITEM_RTSP_URL3, urls.rtsp3, false).text(zelk::ITEM_WEB_URL, urls.web, false);
    const Datagram a = first.bytes();
    const Datagram b = second.bytes();
    EXPECT_LE(a.size(), 1024u);
    EXPECT_LE(b.size(), 1024u);
    return {{a, b}, {listed(slots), listed(urls)}};
}

ReplyCamera everyText(int n, const std::string& text) {
    ReplyCamera c = cameraNumber(n, text);
    c.version = "3.1." + text;
    c.model = c.userId = c.password = c.rtsp1 = c.rtsp2 = c.rtsp3 = c.web = text;
    return c;
}

Hostile strangeTexts() {
    const std::string texts[] = {
        "Caf\xe9 Bar",
        "p\xe4sswort\xff\xfe",
        "cut \xe2\x82 and \xed\xa0\x80 and \xc0\xaf",
        "\"quoted\" \\back\\slash\\",
        "\x1b[2J\x1b[31mRED\r\nnext\tline\x01\x7f",
        "UTF-8 caf\xc3\xa9 \xf0\x9f\x93\xb7",
    };
    Hostile h;
    int n = 160;
    for (const std::string& text : texts) {
        const ReplyCamera c = everyText(n++, text);
        h.datagrams.push_back(replyOf(c));
        h.alsoListed.push_back(listed(c));
    }
    return h;
}

Hostile otherCommands() {
    Hostile h;
    for (uint32_t command : {zelk::CMD_SET, zelk::CMD_MULTI_SET}) {
        h.datagrams.push_back(ReplyBuilder(command).camera(hostileCamera(170 + static_cast<int>(command & 1))).bytes());
    }
    return h;
}

Hostile impostor() {
    ReplyCamera copy = hostileCamera(180);
    const ReplyCamera original = wellFormed()[1];
    copy.id = original.id;
    copy.ip = original.ip;
    copy.name = "impostor";
    copy.password = "known";
    return {{replyOf(copy)}, {}};
}

struct Case {
    const char* what;
    Hostile (*make)();
};

TEST_F(HostileCameras, MalformedAndStrangeRepliesLeaveTheOthersExact) {
    const Case cases[] = {
        {"every truncation point", truncations},
        {"item lengths past the end", itemsRunningPastTheEnd},
        {"item counts", itemCounts},
        {"short network and account items", shortNetworkAndAccountItems},
        {"datagrams of 1024, 1025 and 65507 bytes", datagramSizes},
        {"texts without a terminator", unterminatedTexts},
        {"non-UTF-8 and JSON-special texts", strangeTexts},
        {"commands 2 and 0x10000002", otherCommands},
        {"a copy of a good camera's IP and MAC", impostor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Hostile h = c.make();
        traces.lines.clear();
        expectExactly(search(h.datagrams), h.alsoListed);
        if (!h.heard.empty()) {
            EXPECT_GE(traces.count(h.heard), 1);
        }
    }
}

// Many distinct cameras from one host: the table fills, the search says so
// and still lists the cameras that answered first.
TEST_F(HostileCameras, TwoThousandCamerasFillTheTableAndTheSearchSaysSo) {
    std::vector<Datagram> many;
    for (int n = 0; n < 2000; ++n) many.push_back(replyOf(cameraNumber(1000 + n, "many")));
    const zelk::SearchResult s = search(many);
    ASSERT_EQ(s.result, ZELK_OK);
    EXPECT_LE(s.count, ZELK_MAX_DEVICES);
    // How many arrive is the kernel's choice; a drop can only come from a full table.
    EXPECT_TRUE(!s.dropped || s.count == ZELK_MAX_DEVICES) << s.count << " listed";
    for (const ReplyCamera& c : wellFormed()) expectListed(s, listed(c));
    std::printf("2000 cameras sent: %d listed, dropped %s\n", s.count, s.dropped ? "yes" : "no");
}

TEST_F(HostileCameras, ABurstOfFiftyThousandDatagramsKeepsMemoryBounded) {
    std::vector<Datagram> burst;
    burst.reserve(50000);
    for (int n = 0; n < 50000; ++n) {
        ReplyCamera c = cameraNumber(5000 + n, "");
        c.id[2] = static_cast<uint8_t>((5000 + n) >> 16);
        // Only the network item: a distinct camera in 56 bytes.
        burst.push_back(ReplyBuilder().network(c).bytes());
    }
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
