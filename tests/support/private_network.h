// Puts a test process into a private network namespace of its own, so that
// nothing it sends can reach a real network, and builds segments in it.
#pragma once

#include <string>

namespace testnet {

// Exit status by which a test reports that it could not run here.
inline constexpr int SKIP = 77;

// Enters a new network namespace (and, without root, a user namespace that
// maps the caller to root in it). Call before any thread starts.
bool enterPrivateNetwork(std::string& why);

// A segment: one veth pair, the workstation's end with `workstationCidr`,
// the far end named `peer` (up, without an address unless given).
bool addSegment(const std::string& workstation, const std::string& workstationCidr,
                const std::string& peer, const std::string& peerCidr = "");

// Routes 255.255.255.255 over the given interface.
bool setDefaultRoute(const std::string& interface);

// The usual test network: a private namespace with one segment, the
// workstation's wsA (192.168.1.10/24) towards camA, the broadcast routed over it.
bool enterOneSegment(std::string& why);

// Runs a shell command; true when it exits 0.
bool run(const std::string& command);

}  // namespace testnet
