// Whether configured cameras took the settings they were sent, as the search
// after their restart shows them. Cameras never answer a request, so this is
// the only way to learn that one ignored it.
#pragma once

#include <string>
#include <vector>

#include "choosing_rule.h"
#include "zelk.h"

struct SentSettings {
    rules::CameraKey camera;  // as the search before the request listed it
    std::string deviceName;   // empty: no name was sent
    std::string ipAddress;    // empty: the address is not ours to know (DHCP)
    std::string subnetMask;   // empty: not compared
    std::string gateway;      // empty: not compared
    bool dhcp = false;
};

// One sentence for each camera that the search (`list`, `records` of the same
// search) does not list with what it was sent; none when all took theirs.
std::vector<std::string> settingsNotTaken(const std::vector<SentSettings>& sent, const rules::ListState& list,
                                          const DeviceInfo* records);
