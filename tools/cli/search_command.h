#pragma once

#include <string>
#include <vector>

namespace cli {

// ostrel-cli search [--lan ADDRESS] [--json] [--trace]
int searchCommand(const std::vector<std::string>& args);

}  // namespace cli
