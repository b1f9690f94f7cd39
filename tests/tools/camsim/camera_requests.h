// Requests as the workstation sends them, built byte by byte for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "camera.h"

namespace camsimtest {

// A camera with the user id "administrator", its address 192.168.1.3<last>.
camsim::Camera camera(uint8_t last, const std::string& password);

// To `target`, with its user id and `password` cut as the workstation cuts
// them: name "Renamed", 10.0.0.9/255.255.0.0, gateway 10.0.0.1, DHCP on.
std::vector<uint8_t> setRequest(const camsim::Camera& target, const std::string& password);
std::vector<uint8_t> factoryRequest(const camsim::Camera& target, const std::string& password);
// Gives the targets 192.168.1.50, .51, ... with mask 255.255.0.0 and gateway 192.168.0.1.
std::vector<uint8_t> multiRequest(const std::vector<camsim::Camera>& targets, const std::string& password);

}  // namespace camsimtest
