// The workstation's IPv4 addresses for the LAN chooser.
#pragma once

#include <string>
#include <vector>

// Appends the IPv4 addresses of the interfaces that are up, loopback
// excluded, in the system's order. True when the list is not empty afterwards.
bool ListLocalAddresses(std::vector<std::u16string>& addresses);

// The entries of the LAN chooser: "Default", then the addresses that do not begin with "169".
std::vector<std::u16string> lanChooserEntries(const std::vector<std::u16string>& addresses);
