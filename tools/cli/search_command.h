#pragma once

#include "command.h"

namespace cli {

// ostrel-cli search [--lan ADDRESS] [--json [--show-passwords]] [--trace]
Command searchCommand(CLI::App& tool);

}  // namespace cli
