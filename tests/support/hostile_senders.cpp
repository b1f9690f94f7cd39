#include "hostile_senders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "packet.h"
#include "text.h"

namespace hostile {

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

Listed listed(const ReplyCamera& c) { return {c, zelk::cameraText(c.version)}; }

std::string addressText(const std::array<uint8_t, 4>& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." + std::to_string(a[3]);
}

std::string macText(const std::array<uint8_t, 8>& id) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x-%02x-%02x-%02x-%02x-%02x", id[0], id[1], id[2], id[3], id[4], id[5]);
    return text;
}

void expectShownAs(const Json::Value& entry, const Listed& expected) {
    const ReplyCamera& c = expected.camera;
    EXPECT_EQ(entry.size(), 14u);
    EXPECT_EQ(entry["sIP"].asString(), addressText(c.ip));
    EXPECT_EQ(entry["sMac"].asString(), macText(c.id));
    EXPECT_EQ(entry["sGateWay"].asString(), addressText(c.gateway));
    EXPECT_EQ(entry["sNetMask"].asString(), addressText(c.mask));
    EXPECT_EQ(entry["bDHCP"].asBool(), c.dhcp != 0);
    EXPECT_EQ(entry["sVersion"].asString(), expected.shownVersion);
    const std::pair<const char*, const std::string*> texts[] = {
        {"sDeviceName", &c.name}, {"sModelName", &c.model}, {"sUserID", &c.userId}, {"sPW", &c.password},
        {"sRTSPURL1", &c.rtsp1},  {"sRTSPURL2", &c.rtsp2},  {"sRTSPURL3", &c.rtsp3}, {"sWebURL", &c.web},
    };
    for (const auto& [key, bytes] : texts) EXPECT_EQ(entry[key].asString(), zelk::cameraText(*bytes)) << key;
}

const Json::Value* entryOf(const Json::Value& document, const ReplyCamera& camera) {
    const Json::Value& cameras = document["oScanData"];
    if (!cameras.isObject()) return nullptr;
    for (const std::string& name : cameras.getMemberNames()) {
        const Json::Value& entry = cameras[name];
        if (entry["sIP"].asString() == addressText(camera.ip) && entry["sMac"].asString() == macText(camera.id))
            return &entry;
    }
    return nullptr;
}

namespace {

const char* const MALFORMED = "[item into _parsePacket] Can not read items within packet\n";

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

Sender truncations() {
    Sender h;
    const Datagram whole = replyOf(hostileCamera(100));
    for (size_t n = 0; n < whole.size(); ++n) h.datagrams.emplace_back(whole.begin(), whole.begin() + static_cast<long>(n));
    h.heard = MALFORMED;
    return h;
}

Sender itemsRunningPastTheEnd() {
    Sender h;
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
Sender itemCounts() {
    Sender h;
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

Sender shortNetworkAndAccountItems() {
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

Sender datagramSizes() {
    const ReplyCamera fits = hostileCamera(140);
    return {{sized(fits, 1024), sized(hostileCamera(141), 1025), sized(hostileCamera(142), 65507)},
            {listed(fits)},
            "[recvfrom into _discovery_device] J == -1\n"};
}

// Texts of the full width with no zero: the first camera fills the
// version, name, model and account, the second every URL.
Sender unterminatedTexts() {
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
    return {{a, b}, {listed(slots), listed(urls)}};
}

ReplyCamera everyText(int n, const std::string& text) {
    ReplyCamera c = cameraNumber(n, text);
    c.version = "3.1." + text;
    c.model = c.userId = c.password = c.rtsp1 = c.rtsp2 = c.rtsp3 = c.web = text;
    return c;
}

Sender strangeTexts() {
    const std::string texts[] = {
        "Caf\xe9 Bar",
        "p\xe4sswort\xff\xfe",
        "cut \xe2\x82 and \xed\xa0\x80 and \xc0\xaf",
        "\"quoted\" \\back\\slash\\",
        "\x1b[2J\x1b[31mRED\r\nnext\tline\x01\x7f",
        "UTF-8 caf\xc3\xa9 \xf0\x9f\x93\xb7",
    };
    Sender h;
    int n = 160;
    for (const std::string& text : texts) {
        const ReplyCamera c = everyText(n++, text);
        h.datagrams.push_back(replyOf(c));
        h.alsoListed.push_back(listed(c));
    }
    return h;
}

Sender otherCommands() {
    Sender h;
    for (uint32_t command : {zelk::CMD_SET, zelk::CMD_MULTI_SET}) {
        h.datagrams.push_back(ReplyBuilder(command).camera(hostileCamera(170 + static_cast<int>(command & 1))).bytes());
    }
    return h;
}

Sender impostor() {
    ReplyCamera copy = hostileCamera(180);
    const ReplyCamera original = wellFormed()[1];
    copy.id = original.id;
    copy.ip = original.ip;
    copy.name = "impostor";
    copy.password = "known";
    return {{replyOf(copy)}, {}};
}

}  // namespace

std::vector<Listed> mustBeListed(const Sender& sender) {
    std::vector<Listed> all;
    for (const ReplyCamera& c : wellFormed()) all.push_back(listed(c));
    all.insert(all.end(), sender.alsoListed.begin(), sender.alsoListed.end());
    return all;
}

std::vector<Datagram> afterTheWellFormed(const std::vector<Datagram>& hostile) {
    std::vector<Datagram> replies;
    for (const ReplyCamera& c : wellFormed()) replies.push_back(replyOf(c));
    replies.insert(replies.end(), hostile.begin(), hostile.end());
    return replies;
}

const std::vector<Case>& malformedAndStrange() {
    static const std::vector<Case> cases = {
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
    return cases;
}

std::vector<Datagram> twoThousandCameras() {
    std::vector<Datagram> many;
    for (int n = 0; n < 2000; ++n) many.push_back(replyOf(cameraNumber(1000 + n, "many")));
    return many;
}

std::vector<Datagram> burstOfFiftyThousand() {
    std::vector<Datagram> burst;
    burst.reserve(50000);
    for (int n = 0; n < 50000; ++n) {
        ReplyCamera c = cameraNumber(5000 + n, "");
        c.id[2] = static_cast<uint8_t>((5000 + n) >> 16);
        // Only the network item: a distinct camera in 56 bytes.
        burst.push_back(ReplyBuilder().network(c).bytes());
    }
    return burst;
}

}  // namespace hostile
