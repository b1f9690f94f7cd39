// Where an IPv4 address stands in the subnet a mask makes of it.
#pragma once

#include <array>
#include <cstdint>

namespace zelk {

using Ipv4 = std::array<uint8_t, 4>;  // network order

// The address as one number in host order.
uint32_t ipv4Number(const Ipv4& address);

// A mask whose one-bits run without a gap from the top (0.0.0.0 included).
bool contiguousMask(const Ipv4& mask);

enum class SubnetRole { Host, NetworkAddress, BroadcastAddress };

// Whether `address` is the network or the broadcast address of its subnet.
// A mask of 31 or 32 one-bits leaves no such addresses (point-to-point
// links, single hosts).
SubnetRole subnetRole(const Ipv4& address, const Ipv4& mask);

bool sameSubnet(const Ipv4& a, const Ipv4& b, const Ipv4& mask);

// The first three parts, which a walked range keeps from its first to its last address.
bool samePrefix(const Ipv4& a, const Ipv4& b);

}  // namespace zelk
