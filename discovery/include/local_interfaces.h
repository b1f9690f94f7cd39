// The workstation's network interfaces, as the system lists them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelk {

struct Ipv4Assignment {
    std::array<uint8_t, 4> address{};  // network order
    std::array<uint8_t, 4> mask{};
};

// One entry of the system's list: an interface's IPv4 address with its mask,
// or its hardware address. An interface appears once per address it has.
struct LocalInterface {
    unsigned index = 0;  // of the device; an alias label resolves to its device
    std::string name;    // as listed, alias label included
    unsigned flags = 0;  // IFF_UP, IFF_LOOPBACK, IFF_BROADCAST, ...
    std::optional<Ipv4Assignment> ipv4;
    std::vector<uint8_t> hardware;  // empty for an IPv4 entry

    bool up() const;
    bool loopback() const;
    bool broadcast() const;
};

// Every IPv4 and hardware-address entry, in the system's order. Nothing
// when the list cannot be read.
std::vector<LocalInterface> listLocalInterfaces();

}  // namespace zelk
