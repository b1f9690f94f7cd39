// The address walk of the multi-camera request.
#pragma once

#include <string>
#include <vector>

#include "config_request.h"

namespace zelk {

// Probes the candidates from `first`'s last part to `last`'s (with `last`'s
// first three parts) and gives each free one to the next camera; probes one
// free address more once every camera has its address.
std::vector<MultiEntry> walkAddresses(const std::string& first, const std::string& last, int cameraCount,
                                      const std::vector<const DeviceRecord*>& cameras);

}  // namespace zelk
