// One search through zelk_search_device, with everything it hands back, and
// the extended search: repeated probes and each camera as it arrives.
#pragma once

#include <json/json.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "zelk.h"

namespace zelk {

// The workstation's adapter a camera's reply arrived on.
struct CameraAdapter {
    unsigned index = 0;   // interface index; 0 when the system did not say
    std::string name;     // interface name when the reply arrived, e.g. "eth0"
    std::string address;  // the workstation's dotted address on it
};

// What the library can tell about a search that found nothing. A gone
// adapter or none up also keeps the own probe from coming back, so they are
// the likelier cause when either is reported.
struct SearchDiagnosis {
    // The workstation heard its own probe back. On a working segment it
    // always does; when it does not, incoming UDP 50444 is dropped on this
    // machine (a host firewall), and no camera's reply can arrive either.
    bool ownProbeHeard = false;
    // Some adapter is up and connected with an IPv4 address and broadcast.
    bool broadcastAdapterUp = false;
    // A local address was chosen and no adapter that is up holds it any
    // longer (checked when the search ends, also when it failed).
    bool chosenAdapterGone = false;
};

struct SearchResult {
    int result = ZELK_OK;
    int count = -1;  // the cameras listed; a failed search leaves it at -1
    bool dropped = false;  // cameras answered that are not listed (the table or the text was full)
    std::vector<DeviceInfo> devices = std::vector<DeviceInfo>(ZELK_MAX_DEVICES);  // the first `count` are theirs
    std::string text;      // the scan document as the library wrote it, on success
    Json::Value document;  // the same, parsed; null when the search failed or the text does not parse
    std::vector<CameraAdapter> adapters;  // one per listed camera, by its index
    SearchDiagnosis diagnosis;
};

// Called on the searching thread for each camera the moment its first reply
// is stored; `index` is its index in the finished search.
using CameraFound = std::function<void(int index, const DeviceInfo& camera, const CameraAdapter& adapter)>;

inline constexpr int MAX_SEARCH_PROBES = 10;

struct SearchOptions {
    // Probes sent, 1 to MAX_SEARCH_PROBES (a count outside is taken as the
    // nearest): a lossy segment loses a camera only when every exchange fails.
    int probes = 1;
    // Between probes; 0, or a spacing that would put a probe into the second
    // half of the receive window, spreads them evenly over its first half.
    std::chrono::milliseconds spacing{0};
    CameraFound onCamera;
};

// Searches from `localAddress` (empty: every adapter) with a scan-text buffer of `textCapacity` bytes.
SearchResult searchCameras(const std::string& localAddress, int textCapacity = ZELK_SCAN_TEXT_SIZE);

// The same with repeated probes and a call for each camera as it arrives;
// a camera that answers several probes is still listed once.
SearchResult searchCameras(const std::string& localAddress, const SearchOptions& options,
                           int textCapacity = ZELK_SCAN_TEXT_SIZE);

// The adapter camera `index` of the last search answered on; an empty one
// (index 0) when the last search found no such camera.
CameraAdapter cameraAdapter(int index);

}  // namespace zelk
