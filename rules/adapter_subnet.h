// Cameras outside the subnet of the adapter they answered on: reachable by
// broadcast, but not by their web page or stream until their address moves.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "local_interfaces.h"

namespace rules {

// The subnet of the workstation's address `adapterAddress` among `interfaces`; none when no entry has it.
std::optional<zelk::Ipv4Assignment> adapterSubnet(const std::string& adapterAddress,
                                                  const std::vector<zelk::LocalInterface>& interfaces);

// Whether `cameraAddress` reads as an address outside `subnet`; false when
// it does not read as an address at all.
bool outsideSubnet(const std::string& cameraAddress, const zelk::Ipv4Assignment& subnet);

}  // namespace rules
