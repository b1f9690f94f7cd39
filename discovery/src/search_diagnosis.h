// What a search can learn about why it might find nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "broadcast_socket.h"
#include "local_interfaces.h"

namespace zelk {

// Some adapter is up and connected, with an IPv4 address and broadcast.
bool broadcastAdapterConnected();

// `localAddress` names an adapter (neither empty nor 0.0.0.0) and no adapter
// that is up holds it.
bool chosenAddressGone(const char* localAddress);

// The datagram is this workstation's own probe, come back; `interfaces` are
// the workstation's.
bool isOwnProbe(const uint8_t* data, int length, const Arrival& arrival,
                const std::vector<LocalInterface>& interfaces);

}  // namespace zelk
