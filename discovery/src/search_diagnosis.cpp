#include "search_diagnosis.h"

#include <arpa/inet.h>
#include <net/if.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "packet.h"

namespace zelk {

bool broadcastAdapterConnected() {
    const std::vector<LocalInterface> interfaces = listLocalInterfaces();
    return std::any_of(interfaces.begin(), interfaces.end(), [](const LocalInterface& entry) {
        return entry.ipv4 && entry.up() && !entry.loopback() && entry.broadcast() && (entry.flags & IFF_RUNNING) != 0;
    });
}

bool chosenAddressGone(const char* localAddress) {
    if (localAddress == nullptr || localAddress[0] == '\0') return false;
    const in_addr_t address = inet_addr(localAddress);
    if (address == htonl(INADDR_ANY)) return false;
    const std::vector<LocalInterface> interfaces = listLocalInterfaces();
    return std::none_of(interfaces.begin(), interfaces.end(), [&](const LocalInterface& entry) {
        return entry.ipv4 && entry.up() && std::memcmp(entry.ipv4->address.data(), &address, 4) == 0;
    });
}

bool isOwnProbe(const uint8_t* data, int length, const Arrival& arrival,
                const std::vector<LocalInterface>& interfaces) {
    static const auto probe = buildProbe();
    if (length != IDCP_HEADER_SIZE || std::memcmp(data, probe.data(), probe.size()) != 0 ||
        arrival.from.sin_port != htons(IDCP_PORT))
        return false;
    // Another workstation's probe is the same 28 bytes: only the sender tells them apart.
    return std::any_of(interfaces.begin(), interfaces.end(), [&](const LocalInterface& entry) {
        return entry.ipv4 && std::memcmp(entry.ipv4->address.data(), &arrival.from.sin_addr, 4) == 0;
    });
}

}  // namespace zelk
