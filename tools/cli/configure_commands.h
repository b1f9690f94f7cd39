#pragma once

#include "command.h"

namespace cli {

// ostrel-cli set (--mac MAC | --ip IP) [password] [--name NAME] [--new-ip IP]
//                [--mask MASK] [--gateway GW] [--dhcp on|off] [--lan ADDRESS] [--wait]
Command setCommand(CLI::App& tool);

// ostrel-cli reset (--mac MAC | --ip IP) [password] [--lan ADDRESS] [--wait]
Command resetCommand(CLI::App& tool);

}  // namespace cli
