// How a command that acts on cameras chooses them from the list.
#pragma once

#include <string>
#include <vector>

namespace rules {

enum class Command { IpSetup, Restore, WebBrowser, DeviceInfo };

struct ListState {
    bool searched = false;          // a search has completed since the last failed one
    std::vector<int> rowCamera;     // the camera index each row shows, in row order
    std::vector<bool> rowChecked;   // each row's check box
    int currentRow = -1;            // the row of the last left or right click, -1 for none
};

struct Choice {
    std::u16string message;    // when not empty: show it, the command stops
    std::vector<int> cameras;  // the cameras to act on, in row order
    int target = -1;           // the camera whose password is asked and whose row is selected again
};

// A current row that no longer exists (clicked before a search that found
// fewer cameras) counts as no current row.
Choice chooseCameras(Command command, const ListState& list);

}  // namespace rules
