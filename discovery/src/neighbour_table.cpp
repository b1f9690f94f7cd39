#include "neighbour_table.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "local_interfaces.h"
#include "socket_holder.h"

namespace zelk {

namespace {

constexpr unsigned COMPLETE_ENTRY = 0x2;  // ATF_COM: the entry holds a link-layer address

// The adapter the kernel would send to `address` through. Connecting a UDP
// socket only looks the route up; nothing is sent.
std::optional<std::string> adapterTowards(const in_addr& address) {
    SocketHolder probe(::socket(AF_INET, SOCK_DGRAM, 0));
    if (!probe.open()) return std::nullopt;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    to.sin_addr = address;
    if (::connect(probe.get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) return std::nullopt;
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::getsockname(probe.get(), reinterpret_cast<sockaddr*>(&local), &length) != 0) return std::nullopt;
    for (const LocalInterface& entry : listLocalInterfaces()) {
        if (entry.ipv4 && std::memcmp(entry.ipv4->address.data(), &local.sin_addr, 4) == 0)
            return entry.name.substr(0, entry.name.find(':'));
    }
    return std::nullopt;
}

}  // namespace

bool neighbourHoldsAddress(const std::string& address) {
    in_addr wanted{};
    if (inet_pton(AF_INET, address.c_str(), &wanted) != 1) return false;
    const std::optional<std::string> adapter = adapterTowards(wanted);
    if (!adapter) return false;
    // IP address, HW type, Flags, HW address, Mask, Device: one entry a line after the heading.
    std::ifstream table("/proc/net/arp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string ip, type, flags, hardware, mask, device;
        if (!(fields >> ip >> type >> flags >> hardware >> mask >> device)) continue;
        if (ip != address || device != *adapter) continue;
        if ((std::strtoul(flags.c_str(), nullptr, 16) & COMPLETE_ENTRY) != 0) return true;
    }
    return false;
}

}  // namespace zelk
