// A search that keeps the window alive: the library call runs off the
// window's thread while the window repaints and shows its progress, and no
// user action is handled until it has completed.
#pragma once

#include <functional>
#include <string>

#include "zelk_search.h"

using SearchOutcome = zelk::SearchResult;

// The search's records are also copied into `devices`, as many as it listed.
// `progress` gets the milliseconds left of the receive window and the window's length.
SearchOutcome searchKeepingWindowAlive(const std::string& localAddress, DeviceInfo* devices,
                                       const std::function<void(int, int)>& progress);

