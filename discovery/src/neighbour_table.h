// The kernel's neighbour table: which addresses a host on the link has claimed.
#pragma once

#include <string>

namespace zelk {

// Whether the neighbour table of the adapter through which `address` is
// reached holds a link-layer address for it (a complete entry: reachable,
// stale, delay, probe or permanent). Asks nothing on the network.
bool neighbourHoldsAddress(const std::string& address);

}  // namespace zelk
