// How a command that acts on cameras chooses them from the list, and how the
// list finds a camera again after a new search.
#pragma once

#include <string>
#include <vector>

namespace rules {

enum class Command { IpSetup, Restore, WebBrowser, DeviceInfo };

// A camera as the user knows it across searches: the reply order, and so the
// row, changes with every search. The MAC address names it; the IP address
// tells apart two replies that carry one MAC address.
struct CameraKey {
    std::string mac;
    std::string ip;
    bool operator==(const CameraKey&) const = default;
};

struct ListState {
    bool searched = false;          // a search has completed since the last failed one
    std::vector<int> rowCamera;     // the camera index each row shows, in row order
    std::vector<bool> rowChecked;   // each row's check box
    int currentRow = -1;            // the row shown selected, -1 for none
    std::vector<CameraKey> cameras; // every camera of the last search, camera k at k
};

struct Choice {
    std::u16string message;    // when not empty: show it, the command stops
    std::vector<int> cameras;  // the cameras to act on, in row order
    int target = -1;           // the camera whose password is asked and whose row is selected again
};

// A current row that no longer exists counts as no current row. IP Setup and
// Restore also stop when a chosen camera shares its MAC address with another
// camera of the search: a request names its camera by MAC address, so both
// would obey it.
Choice chooseCameras(Command command, const ListState& list);

// The row that shows `camera`: the row with its MAC and IP address, else the
// only row with its MAC address (its address may have changed), else -1.
int rowOfCamera(const ListState& list, const CameraKey& camera);

}  // namespace rules
