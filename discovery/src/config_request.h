// Building and sending the configuration requests.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "broadcast_socket.h"
#include "device_table.h"
#include "ipv4_subnet.h"
#include "zelk.h"

namespace zelk {

inline constexpr int USER_ID_SENT = 9;
inline constexpr int PASSWORD_SENT = 11;
inline constexpr int NAME_SENT = 28;

std::vector<uint8_t> setDeviceInfoRequest(const DeviceRecord& camera, const DeviceInfo& credentials,
                                          const DeviceInfo& settings, const Ipv4& ip, const Ipv4& mask,
                                          const Ipv4& gateway);
std::vector<uint8_t> factoryDefaultRequest(const DeviceRecord& camera, const DeviceInfo& credentials);

struct MultiEntry {
    const DeviceRecord* camera;
    Ipv4 address;
};
std::vector<uint8_t> multiSetRequest(const char* senderText, int cameraCount, const std::vector<MultiEntry>& entries,
                                     const Ipv4& mask, const Ipv4& gateway);

// Broadcasts `request` from m_sock and writes the matching trace line: out
// of m_sock's adapter when one was chosen, otherwise once out of each adapter
// the cameras answered on, so no other segment hears it.
// Returns 0 or `sendFailure`; the socket stays open either way.
struct SendTraces {
    const char* sent;
    const char* notSent;
    int sendFailure;
};
int sendRequest(const std::vector<uint8_t>& request, const SendTraces& traces,
                const std::vector<LocalAdapter>& cameraAdapters);

// The adapters that cameras of the last search answered on, each once.
std::vector<LocalAdapter> adaptersOfCameras(const std::vector<const DeviceRecord*>& cameras);
// The same for the cameras that a multi-set request gives an address.
std::vector<LocalAdapter> adaptersOfEntries(const std::vector<MultiEntry>& entries);

// The camera of the last search at `index`, or null with a trace line naming `routine`.
const DeviceRecord* cameraOfLastSearch(int index, const char* routine);

}  // namespace zelk
