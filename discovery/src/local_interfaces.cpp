#include "local_interfaces.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>

namespace zelk {

namespace {

std::array<uint8_t, 4> ipv4Bytes(const sockaddr* address) {
    std::array<uint8_t, 4> bytes{};
    if (address != nullptr && address->sa_family == AF_INET)
        std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, 4);
    return bytes;
}

}  // namespace

bool LocalInterface::up() const { return (flags & IFF_UP) != 0; }
bool LocalInterface::loopback() const { return (flags & IFF_LOOPBACK) != 0; }
bool LocalInterface::broadcast() const { return (flags & IFF_BROADCAST) != 0; }

std::vector<LocalInterface> listLocalInterfaces() {
    std::vector<LocalInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return interfaces;
    for (ifaddrs* it = list; it != nullptr; it = it->ifa_next) {
        if (it->ifa_addr == nullptr) continue;
        const int family = it->ifa_addr->sa_family;
        if (family != AF_INET && family != AF_PACKET) continue;
        LocalInterface entry;
        entry.name = it->ifa_name;
        entry.flags = it->ifa_flags;
        if (family == AF_INET) {
            // An alias label names its device before the colon.
            entry.index = if_nametoindex(entry.name.substr(0, entry.name.find(':')).c_str());
            entry.ipv4 = Ipv4Assignment{ipv4Bytes(it->ifa_addr), ipv4Bytes(it->ifa_netmask)};
        } else {
            const auto* link = reinterpret_cast<const sockaddr_ll*>(it->ifa_addr);
            entry.index = static_cast<unsigned>(link->sll_ifindex);
            const size_t length = std::min<size_t>(link->sll_halen, sizeof link->sll_addr);
            entry.hardware.assign(link->sll_addr, link->sll_addr + length);
        }
        interfaces.push_back(std::move(entry));
    }
    freeifaddrs(list);
    return interfaces;
}

}  // namespace zelk
