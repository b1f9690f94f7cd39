// Building and sending the configuration requests.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "device_table.h"
#include "zelk.h"

namespace zelk {

using Ipv4 = std::array<uint8_t, 4>;

inline constexpr int USER_ID_SENT = 9;
inline constexpr int PASSWORD_SENT = 11;

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

// Opens m_sock on `localAddress` as the search does, sends `request` to
// every camera and closes the socket. Returns 0, -20101 or `sendFailure`.
struct SendTraces {
    const char* sent;
    const char* notSent;
    int sendFailure;
};
int prepareLibrarySocket(const char* localAddress);
int sendRequest(const std::vector<uint8_t>& request, const SendTraces& traces);

// Test seam: every request the library sends also goes to `observer`.
void setRequestObserverForTests(std::function<void(const std::vector<uint8_t>&)> observer);

// The camera of the last search at `index`, or null with a trace line naming `routine`.
const DeviceRecord* cameraOfLastSearch(int index, const char* routine);

}  // namespace zelk
