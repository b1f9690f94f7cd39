#pragma once

#include "command.h"

namespace cli {

// ostrel-cli set (--mac MAC | --ip IP) [password] [--name NAME] [--new-ip IP]
//                [--mask MASK] [--gateway GW] [--dhcp on|off] [--lan ADDRESS]
Command setCommand(CLI::App& tool);

// ostrel-cli reset (--mac MAC | --ip IP) [password] [--lan ADDRESS]
Command resetCommand(CLI::App& tool);

// ostrel-cli assign --mac MAC [--mac MAC ...] --first IP --last IP --mask MASK
//                   --gateway GW [password] [--lan ADDRESS]
Command assignCommand(CLI::App& tool);

}  // namespace cli
