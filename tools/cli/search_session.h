// One search through the library, as every subcommand starts with it.
#pragma once

#include <json/json.h>

#include <string>
#include <vector>

#include "zelk.h"

namespace cli {

struct SearchSession {
    int count = 0;
    std::vector<DeviceInfo> devices = std::vector<DeviceInfo>(ZELK_MAX_DEVICES);
    std::string text;       // the scan document as the library wrote it
    Json::Value document;   // the same, parsed

    const Json::Value& camera(int index) const;
};

// Searches from `lan` (empty: every adapter); throws Failure.
SearchSession runSearch(const std::string& lan);

// Sends the library's trace lines to standard error, or drops them.
void showTraces(bool shown);

}  // namespace cli
