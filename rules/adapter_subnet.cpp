#include "adapter_subnet.h"

#include "ipv4_subnet.h"
#include "ipv4_text.h"

namespace rules {

std::optional<zelk::Ipv4Assignment> adapterSubnet(const std::string& adapterAddress,
                                                  const std::vector<zelk::LocalInterface>& interfaces) {
    const auto address = zelk::dottedAddress(adapterAddress.c_str(), adapterAddress.size());
    if (!address) return std::nullopt;
    for (const zelk::LocalInterface& entry : interfaces)
        if (entry.ipv4 && entry.ipv4->address == *address) return entry.ipv4;
    return std::nullopt;
}

bool outsideSubnet(const std::string& cameraAddress, const zelk::Ipv4Assignment& subnet) {
    const auto address = zelk::dottedAddress(cameraAddress.c_str(), cameraAddress.size());
    return address && !zelk::sameSubnet(*address, subnet.address, subnet.mask);
}

}  // namespace rules
