#include "camera.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "packet.h"

namespace camsim {

namespace {

// Types of the three leading text items; the receiver reads them by position.
constexpr uint16_t ITEM_VERSION = 0x0101;
constexpr uint16_t ITEM_DEVICE_NAME = 0x0102;
constexpr uint16_t ITEM_MODEL = 0x0103;

Address parseAddress(const std::string& text) {
    in_addr a{};
    if (inet_pton(AF_INET, text.c_str(), &a) != 1) throw std::runtime_error("not an IPv4 address: " + text);
    Address out;
    std::memcpy(out.data(), &a, 4);
    return out;
}

void parseHex(const std::string& text, uint8_t* out, size_t count) {
    unsigned v[8] = {};
    int n = std::sscanf(text.c_str(), "%x%*[-:]%x%*[-:]%x%*[-:]%x%*[-:]%x%*[-:]%x", &v[0], &v[1], &v[2], &v[3],
                        &v[4], &v[5]);
    if (n != static_cast<int>(count)) throw std::runtime_error("bad hardware address: " + text);
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(v[i]);
}

CameraSettings settingsFromJson(const Json::Value& j, const CameraSettings& base) {
    CameraSettings s = base;
    auto text = [&](const char* key, std::string& field) {
        if (j.isMember(key)) field = j[key].asString();
    };
    if (j.isMember("ip")) s.ip = parseAddress(j["ip"].asString());
    if (j.isMember("mask")) s.mask = parseAddress(j["mask"].asString());
    if (j.isMember("gateway")) s.gateway = parseAddress(j["gateway"].asString());
    if (j.isMember("dhcp")) s.dhcp = j["dhcp"].asBool();
    text("name", s.name);
    text("model", s.model);
    text("version", s.version);
    text("userId", s.userId);
    text("password", s.password);
    text("webUrl", s.webUrl);
    if (j.isMember("rtsp")) {
        s.rtspUrls = {};
        for (Json::ArrayIndex i = 0; i < j["rtsp"].size() && i < 3; ++i) s.rtspUrls[i] = j["rtsp"][i].asString();
    }
    return s;
}

void textItem(zelk::PacketWriter& w, uint16_t type, const std::string& text) {
    w.itemHead(type, static_cast<uint16_t>(text.size() + 1));
    w.raw(text.c_str(), text.size() + 1);
}

}  // namespace

Camera cameraFromJson(const Json::Value& json) {
    Camera c;
    parseHex(json["mac"].asString(), c.id.data(), 6);
    if (json.isMember("macTail")) parseHex(json["macTail"].asString(), c.id.data() + 6, 2);
    c.now = settingsFromJson(json, CameraSettings{});
    c.factory = settingsFromJson(json.get("factory", Json::Value(Json::objectValue)), c.now);
    return c;
}

std::vector<Camera> loadProfile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read profile " + path);
    Json::Value root;
    std::string errors;
    if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &root, &errors))
        throw std::runtime_error("bad profile " + path + ": " + errors);
    std::vector<Camera> cameras;
    for (const Json::Value& c : root["cameras"]) cameras.push_back(cameraFromJson(c));
    return cameras;
}

std::string addressText(const Address& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

std::string macText(const std::array<uint8_t, 8>& id) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x-%02x-%02x-%02x-%02x-%02x", id[0], id[1], id[2], id[3], id[4], id[5]);
    return text;
}

int prefixLength(const Address& mask) {
    int bits = 0;
    for (uint8_t b : mask) bits += __builtin_popcount(b);
    return bits;
}

std::vector<uint8_t> searchReply(const Camera& camera) {
    const CameraSettings& s = camera.now;
    std::vector<std::pair<uint16_t, std::string>> urls;
    const uint16_t rtspTypes[3] = {zelk::ITEM_RTSP_URL1, zelk::ITEM_RTSP_URL2, zelk::ITEM_RTSP_URL3};
    for (int i = 0; i < 3; ++i) {
        if (!s.rtspUrls[i].empty()) urls.emplace_back(rtspTypes[i], s.rtspUrls[i]);
    }
    if (!s.webUrl.empty()) urls.emplace_back(zelk::ITEM_WEB_URL, s.webUrl);

    zelk::PacketWriter w;
    zelk::IdcpHeader h;
    h.command = zelk::CMD_REPLY;
    h.itemCount = static_cast<int32_t>(5 + urls.size());
    w.header(h);
    textItem(w, ITEM_VERSION, s.version);
    textItem(w, ITEM_DEVICE_NAME, s.name);
    textItem(w, ITEM_MODEL, s.model);
    w.itemHead(zelk::ITEM_NETWORK, zelk::NETWORK_ITEM_SIZE);
    w.raw(camera.id.data(), camera.id.size());
    w.raw(s.ip.data(), 4);
    w.raw(s.mask.data(), 4);
    w.raw(s.gateway.data(), 4);
    w.u8(s.dhcp ? 1 : 0);
    w.zeros(3);
    w.itemHead(zelk::ITEM_ACCOUNT, zelk::ACCOUNT_ITEM_SIZE);
    w.text(s.userId.c_str(), zelk::ACCOUNT_PASSWORD_OFFSET);
    w.text(s.password.c_str(), 256);
    w.zeros(4);
    for (const auto& [type, url] : urls) textItem(w, type, url);
    return w.bytes();
}

}  // namespace camsim
