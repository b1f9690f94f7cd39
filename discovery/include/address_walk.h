// The address walk of the multi-camera request, in two steps: find the free
// addresses of a range (the plan), then send the plan to the cameras.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "zelk.h"

namespace zelk {

// Why an address of the range was not handed out.
enum class SkipReason { AnswersPing, AnswersArp, Gateway, NetworkAddress, BroadcastAddress, OwnAddress };

// "answers ping", "answers ARP", "gateway", "network address", "broadcast
// address", "this workstation's address".
const char* skipReasonText(SkipReason reason);

struct SkippedAddress {
    std::string address;
    SkipReason reason;
};

struct AddressPlan {
    int result = ZELK_OK;                 // a failure found before anything is sent (bad index, bad address, no ICMP socket, ...)
    std::vector<std::string> assigned;    // one per camera, in the order given; "" where no address was left for it
    std::vector<SkippedAddress> skipped;  // in address order
};

// Called from the walk (any thread) as candidates are decided: the address
// just decided and the cameras placed so far.
using WalkProgress = std::function<void(const std::string& probed, int placed)>;

// Probes the range bounds[0].ipAddress .. bounds[1].ipAddress (mask and
// gateway from bounds[0]) for cameraCount cameras of the last search; sends
// nothing. A first and last address with different first three parts are
// refused with ZELK_ERR_BAD_ADDRESS.
AddressPlan planAddresses(const DeviceInfo* bounds, int cameraCount, const int* indices, const char* localAddress,
                          const WalkProgress& progress = {});

// Sends the multi-camera requests for a plan (only the cameras that got an
// address; no request without an entry). Returns plan.result when the plan
// failed, else 0 or the failures of zelk_set_deviceinfo_multi.
int sendAddressPlan(const AddressPlan& plan, const DeviceInfo* bounds, int cameraCount, const int* indices,
                    const char* localAddress);

}  // namespace zelk
