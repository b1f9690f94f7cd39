// One search through zelk_search_device, with everything it hands back.
#pragma once

#include <json/json.h>

#include <string>
#include <vector>

#include "zelk.h"

namespace zelk {

struct SearchResult {
    int result = ZELK_OK;
    int count = -1;  // the cameras listed; a failed search leaves it at -1
    bool dropped = false;  // cameras answered that are not listed (the table or the text was full)
    std::vector<DeviceInfo> devices = std::vector<DeviceInfo>(ZELK_MAX_DEVICES);  // the first `count` are theirs
    std::string text;      // the scan document as the library wrote it, on success
    Json::Value document;  // the same, parsed; null when the search failed or the text does not parse
};

// Searches from `localAddress` (empty: every adapter) with a scan-text buffer of `textCapacity` bytes.
SearchResult searchCameras(const std::string& localAddress, int textCapacity = ZELK_SCAN_TEXT_SIZE);

}  // namespace zelk
