#pragma once

#include "command.h"

namespace cli {

// ostrel-cli assign --mac MAC [--mac MAC ...] --first IP --last IP --mask MASK
//                   --gateway GW [password] [--lan ADDRESS] [--dry-run] [--wait]
Command assignCommand(CLI::App& tool);

}  // namespace cli
