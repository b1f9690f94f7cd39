// The window's test seams, in one place: those of the dialogs below it and
// its own. An empty or zero argument restores each.
#pragma once

#include <chrono>

#include "dialogs_testing.h"

// How often the search's progress is painted (the program: every 40 ms).
void setSearchProgressPeriodForTests(std::chrono::milliseconds period);
