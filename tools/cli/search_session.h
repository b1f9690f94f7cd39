// One search through the library, as every subcommand starts with it.
#pragma once

#include <json/json.h>

#include <string>

#include "zelk_search.h"

namespace cli {

struct SearchSession : zelk::SearchResult {
    const Json::Value& camera(int index) const;
};

// Searches from `lan` (empty: every adapter) with `probes` probes; throws Failure.
SearchSession runSearch(const std::string& lan, int probes = 1);

// Sends the library's trace lines to standard error, or drops them.
void showTraces(bool shown);

}  // namespace cli
