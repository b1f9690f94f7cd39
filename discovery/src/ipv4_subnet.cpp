#include "ipv4_subnet.h"

namespace zelk {

uint32_t ipv4Number(const Ipv4& address) {
    return static_cast<uint32_t>(address[0]) << 24 | static_cast<uint32_t>(address[1]) << 16 |
           static_cast<uint32_t>(address[2]) << 8 | address[3];
}

bool contiguousMask(const Ipv4& mask) {
    const uint32_t hostBits = ~ipv4Number(mask);
    return (hostBits & (hostBits + 1)) == 0;
}

SubnetRole subnetRole(const Ipv4& address, const Ipv4& mask) {
    const uint32_t hostBits = ~ipv4Number(mask);
    if (hostBits < 3) return SubnetRole::Host;
    const uint32_t host = ipv4Number(address) & hostBits;
    if (host == 0) return SubnetRole::NetworkAddress;
    if (host == hostBits) return SubnetRole::BroadcastAddress;
    return SubnetRole::Host;
}

bool sameSubnet(const Ipv4& a, const Ipv4& b, const Ipv4& mask) {
    return ((ipv4Number(a) ^ ipv4Number(b)) & ipv4Number(mask)) == 0;
}

bool samePrefix(const Ipv4& a, const Ipv4& b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

}  // namespace zelk
