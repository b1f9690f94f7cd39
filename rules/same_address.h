// Cameras that report the same IP address, as new cameras still at their
// factory address do: the list marks both.
#pragma once

#include <string>
#include <vector>

namespace rules {

// For each address, the positions of the other entries with the same one;
// empty for a unique address. Entries with no address ("" or "N/A") share
// nothing.
std::vector<std::vector<size_t>> sameAddressPeers(const std::vector<std::u16string>& addresses);

}  // namespace rules
