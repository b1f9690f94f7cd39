// A search that keeps the window alive: the library call runs off the
// window's thread while the window repaints and shows its progress, and no
// user action is handled until it has completed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "zelk.h"

struct SearchOutcome {
    int result = 0;
    int count = 0;
    std::string text;  // the scan document, on success
};

// `progress` gets the milliseconds left of the receive window and the window's length.
SearchOutcome searchKeepingWindowAlive(const std::string& localAddress, DeviceInfo* devices,
                                       const std::function<void(int, int)>& progress);
