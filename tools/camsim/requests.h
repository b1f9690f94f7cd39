// What the simulated cameras make of a datagram they receive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "camera.h"

namespace camsim {

enum class RequestKind { Probe, SetDeviceInfo, FactoryDefault, MultiSet, Other };

struct Change {
    size_t camera;
    CameraSettings settings;
};

struct RequestOutcome {
    RequestKind kind = RequestKind::Other;
    std::vector<Change> changes;     // accepted changes, applied after the restart delay
    std::vector<std::string> log;    // one line per camera concerned, or one for the datagram
};

RequestOutcome handleRequest(const std::vector<Camera>& cameras, const uint8_t* data, int length);

}  // namespace camsim
