#pragma once

#include <string>
#include <vector>

namespace cli {

// ostrel-cli set (--mac MAC | --ip IP) --password PW [--name NAME] [--new-ip IP]
//                [--mask MASK] [--gateway GW] [--dhcp on|off] [--lan ADDRESS]
int setCommand(const std::vector<std::string>& args);

// ostrel-cli reset (--mac MAC | --ip IP) --password PW [--lan ADDRESS]
int resetCommand(const std::vector<std::string>& args);

// ostrel-cli assign --mac MAC [--mac MAC ...] --first IP --last IP --mask MASK
//                   --gateway GW --password PW [--lan ADDRESS]
int assignCommand(const std::vector<std::string>& args);

}  // namespace cli
