// Building and sending the configuration requests.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

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

// Broadcasts `request` from m_sock and writes the matching trace line.
// Returns 0 or `sendFailure`; the socket stays open either way.
struct SendTraces {
    const char* sent;
    const char* notSent;
    int sendFailure;
};
int sendRequest(const std::vector<uint8_t>& request, const SendTraces& traces);

// The camera of the last search at `index`, or null with a trace line naming `routine`.
const DeviceRecord* cameraOfLastSearch(int index, const char* routine);

}  // namespace zelk
