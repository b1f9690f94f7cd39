// What the IP Setup and Restore flows share.
#pragma once

#include <chrono>

#include "camera_list_host.h"

// The countdown's tick period: a second, unless a test set another.
std::chrono::milliseconds countdownTick();

// Waits out the cameras' restart (mode 0: 60 s, 1: 30 s), then searches again
// when the countdown ran out, and selects the target camera's row either way:
// found by its MAC address, since the new search lists in another order.
// True when the search ran.
bool countDownAndSearch(CameraListHost& host, int mode, const rules::CameraKey& target);
