#include "same_address.h"

#include <map>

namespace rules {

std::vector<std::vector<size_t>> sameAddressPeers(const std::vector<std::u16string>& addresses) {
    std::map<std::u16string, std::vector<size_t>> byAddress;
    for (size_t i = 0; i < addresses.size(); ++i) {
        if (addresses[i].empty() || addresses[i] == u"N/A") continue;
        byAddress[addresses[i]].push_back(i);
    }
    std::vector<std::vector<size_t>> peers(addresses.size());
    for (const auto& [address, positions] : byAddress) {
        for (size_t i : positions)
            for (size_t j : positions)
                if (i != j) peers[i].push_back(j);
    }
    return peers;
}

}  // namespace rules
