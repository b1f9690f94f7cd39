#include "requests.h"

#include <cstring>
#include <optional>

#include "packet.h"
#include "text.h"

namespace camsim {

namespace {

constexpr int USER_ID_COMPARED = 9;
constexpr int PASSWORD_COMPARED = 11;
constexpr int MULTI_HEAD = 32;
constexpr int MULTI_ENTRY = 400;
constexpr int MULTI_TAIL = 28;

// A camera compares the credentials as the workstation cuts them.
bool credentialsMatch(const CameraSettings& s, const uint8_t* userId, const uint8_t* password) {
    auto cut = [](const std::string& text, int size) {
        std::string bytes(static_cast<size_t>(size), '\0');
        std::memcpy(bytes.data(), text.data(), std::min<size_t>(text.size(), static_cast<size_t>(size)));
        return bytes;
    };
    return std::memcmp(userId, cut(s.userId, USER_ID_COMPARED).data(), USER_ID_COMPARED) == 0 &&
           std::memcmp(password, cut(s.password, PASSWORD_COMPARED).data(), PASSWORD_COMPARED) == 0;
}

std::optional<size_t> cameraWithId(const std::vector<Camera>& cameras, const uint8_t* id) {
    for (size_t i = 0; i < cameras.size(); ++i) {
        if (std::memcmp(cameras[i].id.data(), id, 8) == 0) return i;
    }
    return std::nullopt;
}

Address addressAt(const uint8_t* p) { return {p[0], p[1], p[2], p[3]}; }

struct SingleRequest {
    const uint8_t* network = nullptr;
    const uint8_t* name = nullptr;
    uint16_t nameLength = 0;
    const uint8_t* account = nullptr;
    bool factory = false;
};

bool readSingle(const uint8_t* data, int length, int itemCount, SingleRequest& r) {
    zelk::ItemReader reader(data, length);
    for (int i = 0; i < itemCount; ++i) {
        zelk::IdcpItem item;
        if (!reader.next(item)) return false;
        if (item.type == zelk::ITEM_NETWORK && item.length >= zelk::NETWORK_ITEM_SIZE) r.network = item.value;
        if (item.type == zelk::ITEM_NAME) {
            r.name = item.value;
            r.nameLength = item.length;
        }
        if (item.type == zelk::ITEM_ACCOUNT && item.length >= zelk::ACCOUNT_ITEM_SIZE) r.account = item.value;
        if (item.type == zelk::ITEM_FACTORY_DEFAULT) r.factory = true;
    }
    return r.account != nullptr && (r.factory || r.network != nullptr);
}

RequestOutcome singleRequest(const std::vector<Camera>& cameras, const uint8_t* data, int length,
                             const zelk::IdcpHeader& header) {
    RequestOutcome out;
    SingleRequest r;
    if (!readSingle(data, length, header.itemCount, r)) {
        out.log.push_back("malformed request ignored");
        return out;
    }
    out.kind = r.factory ? RequestKind::FactoryDefault : RequestKind::SetDeviceInfo;
    const std::string what = r.factory ? "factory-default" : "set-device-info";
    std::optional<size_t> index = cameraWithId(cameras, header.target.data());
    if (!index) {
        out.log.push_back(what + " for " + camsim::macText(header.target) + ": ignored (another target)");
        return out;
    }
    const Camera& camera = cameras[*index];
    const std::string head = what + " for " + macText(camera.id) + ": ";
    if (!credentialsMatch(camera.now, r.account, r.account + zelk::ACCOUNT_PASSWORD_OFFSET)) {
        out.log.push_back(head + "refused (credentials)");
        return out;
    }
    if (r.factory) {
        out.changes.push_back({*index, camera.factory});
        out.log.push_back(head + "accepted");
        return out;
    }
    CameraSettings s = camera.now;
    // A request without a name item leaves the name as it is.
    if (r.name != nullptr) s.name = zelk::fieldText(reinterpret_cast<const char*>(r.name), r.nameLength);
    s.ip = addressAt(r.network + zelk::NET_IP);
    s.mask = addressAt(r.network + zelk::NET_MASK);
    s.gateway = addressAt(r.network + zelk::NET_GATEWAY);
    s.dhcp = r.network[zelk::NET_DHCP] != 0;
    out.changes.push_back({*index, s});
    out.log.push_back(head + "accepted (name=" + s.name + ", ip=" + addressText(s.ip) + ", mask=" +
                      addressText(s.mask) + ", gateway=" + addressText(s.gateway) +
                      ", dhcp=" + (s.dhcp ? "1" : "0") + ")");
    return out;
}

RequestOutcome multiRequest(const std::vector<Camera>& cameras, const uint8_t* data, int length) {
    RequestOutcome out;
    out.kind = RequestKind::MultiSet;
    if (length < MULTI_HEAD + MULTI_TAIL) {
        out.log.push_back("multi-set: malformed request ignored");
        return out;
    }
    // The camera counts entries from the length alone; bytes past the last
    // whole entry and the closing network item are not read.
    const int entries = (length - MULTI_HEAD - MULTI_TAIL) / MULTI_ENTRY;
    const uint8_t* tail = data + MULTI_HEAD + entries * MULTI_ENTRY + 4;
    out.log.push_back("multi-set: " + std::to_string(entries) + " entries, cameraCount " +
                      std::to_string(zelk::readU16(data + 28)));
    for (int e = 0; e < entries; ++e) {
        const uint8_t* entry = data + MULTI_HEAD + e * MULTI_ENTRY;
        std::optional<size_t> index = cameraWithId(cameras, entry);
        if (!index) continue;
        const Camera& camera = cameras[*index];
        const std::string head = "multi-set for " + macText(camera.id) + ": ";
        if (!credentialsMatch(camera.now, entry + 12, entry + 140)) {
            out.log.push_back(head + "refused (credentials)");
            continue;
        }
        CameraSettings s = camera.now;
        s.ip = addressAt(entry + 8);
        s.mask = addressAt(tail + zelk::NET_MASK);
        s.gateway = addressAt(tail + zelk::NET_GATEWAY);
        s.dhcp = false;
        out.changes.push_back({*index, s});
        out.log.push_back(head + "accepted (ip=" + addressText(s.ip) + ", mask=" + addressText(s.mask) +
                          ", gateway=" + addressText(s.gateway) + ")");
    }
    return out;
}

}  // namespace

RequestOutcome handleRequest(const std::vector<Camera>& cameras, const uint8_t* data, int length) {
    RequestOutcome out;
    if (length < zelk::IDCP_HEADER_SIZE) return out;
    const zelk::IdcpHeader header = zelk::decodeHeader(data);
    if (header.marker != zelk::IDCP_MARK) return out;
    switch (header.command) {
    case zelk::CMD_PROBE: out.kind = RequestKind::Probe; return out;
    case zelk::CMD_SET: return singleRequest(cameras, data, length, header);
    case zelk::CMD_MULTI_SET: return multiRequest(cameras, data, length);
    default: return out;
    }
}

}  // namespace camsim
