#include "config_request.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "broadcast_socket.h"
#include "packet.h"
#include "trace.h"
#include "zelk_testing.h"

namespace zelk {

namespace {

RequestSender& sender() {
    static RequestSender s;
    return s;
}

IdcpHeader requestHeader(uint32_t command, const uint8_t* target, int itemCount) {
    IdcpHeader h;
    h.command = command;
    if (target != nullptr) std::memcpy(h.target.data(), target, TARGET_ID_SIZE);
    h.itemCount = itemCount;
    return h;
}

// The credentials go out cut to a fixed count of bytes, in a user-id field
// of 128 bytes and a password field of 256.
void writeCredentials(PacketWriter& w, const char* userId, const char* password) {
    w.text(userId, USER_ID_SENT);
    w.zeros(ACCOUNT_PASSWORD_OFFSET - USER_ID_SENT);
    w.text(password, PASSWORD_SENT);
    w.zeros(256 - PASSWORD_SENT);
}

void accountItem(PacketWriter& w, const DeviceInfo& device) {
    w.itemHead(ITEM_ACCOUNT, ACCOUNT_ITEM_SIZE);
    writeCredentials(w, device.userId, device.password);
    w.zeros(4);
}

}  // namespace

std::vector<uint8_t> setDeviceInfoRequest(const DeviceRecord& camera, const DeviceInfo& credentials,
                                          const DeviceInfo& settings, const Ipv4& ip, const Ipv4& mask,
                                          const Ipv4& gateway) {
    PacketWriter w;
    w.header(requestHeader(CMD_SET, camera.network, 3));
    w.itemHead(ITEM_NETWORK, NETWORK_ITEM_SIZE);
    w.raw(camera.network, TARGET_ID_SIZE);
    w.raw(ip.data(), 4);
    w.raw(mask.data(), 4);
    w.raw(gateway.data(), 4);
    w.u8(static_cast<uint8_t>(settings.dhcp[0]));
    w.zeros(3);
    w.itemHead(ITEM_NAME, NAME_SENT);
    w.text(settings.deviceName, NAME_SENT);
    accountItem(w, credentials);
    return w.bytes();
}

std::vector<uint8_t> factoryDefaultRequest(const DeviceRecord& camera, const DeviceInfo& credentials) {
    PacketWriter w;
    w.header(requestHeader(CMD_SET, camera.network, 2));
    accountItem(w, credentials);
    w.itemHead(ITEM_FACTORY_DEFAULT, 1);
    w.zeros(4);
    return w.bytes();
}

std::vector<uint8_t> multiSetRequest(const char* senderText, int cameraCount, const std::vector<MultiEntry>& entries,
                                     const Ipv4& mask, const Ipv4& gateway) {
    PacketWriter w;
    IdcpHeader h = requestHeader(CMD_MULTI_SET, nullptr, 2);
    std::memcpy(h.sender.data(), senderText, std::min<size_t>(8, strnlen(senderText, 24)));
    w.header(h);
    w.u16(static_cast<uint16_t>(cameraCount));
    w.u16(1);
    for (const MultiEntry& e : entries) {
        const auto* account = reinterpret_cast<const char*>(e.camera->account);
        w.raw(e.camera->network, TARGET_ID_SIZE);
        w.raw(e.address.data(), 4);
        writeCredentials(w, account, account + ACCOUNT_PASSWORD_OFFSET);
        w.zeros(4);
    }
    w.itemHead(ITEM_NETWORK, NETWORK_ITEM_SIZE);
    w.zeros(12);
    w.raw(mask.data(), 4);
    w.raw(gateway.data(), 4);
    w.zeros(4);
    return w.bytes();
}

int sendRequest(const std::vector<uint8_t>& request, const SendTraces& traces,
                const std::vector<LocalAdapter>& cameraAdapters) {
    const long sent =
        sender() ? sender()(request) : sendOnLibrarySocket(request.data(), request.size(), cameraAdapters);
    if (sent < 0) {
        debugTrace(traces.notSent);
        return traces.sendFailure;
    }
    debugTrace(traces.sent);
    return ZELK_OK;
}

std::vector<LocalAdapter> adaptersOfCameras(const std::vector<const DeviceRecord*>& cameras) {
    std::vector<LocalAdapter> adapters;
    for (const DeviceRecord* camera : cameras) {
        const ReplyAdapter* adapter = replyAdapter(camera);
        if (adapter == nullptr || adapter->index == 0) continue;
        const bool known = std::any_of(adapters.begin(), adapters.end(),
                                       [&](const LocalAdapter& a) { return a.index == adapter->index; });
        // The address is left to the system: the adapter's may have changed since the search.
        if (!known) adapters.push_back({adapter->index, {}});
    }
    return adapters;
}

std::vector<LocalAdapter> adaptersOfEntries(const std::vector<MultiEntry>& entries) {
    std::vector<const DeviceRecord*> cameras;
    for (const MultiEntry& entry : entries) cameras.push_back(entry.camera);
    return adaptersOfCameras(cameras);
}

void setRequestSenderForTests(RequestSender s) { sender() = std::move(s); }

const DeviceRecord* cameraOfLastSearch(int index, const char* routine) {
    const DeviceRecord* camera = deviceRecord(index);
    if (camera == nullptr)
        debugTrace(std::string("[index into ") + routine + "] Can not find camera of last search\n");
    return camera;
}

}  // namespace zelk
