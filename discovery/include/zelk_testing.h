// The library's test seams, in one place. Each replaces one contact with the
// outside world for the tests; an empty or zero argument restores it.
#pragma once

#include <time.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zelk {

// A receive window of the given length instead of four seconds.
void setReceiveWindowForTests(std::chrono::milliseconds window);

// How the search reads a clock (clock_gettime's clock ids), so that a test
// can step one clock and see which clock the receive window follows.
using ClockReader = std::function<std::chrono::nanoseconds(clockid_t)>;
void setClockForTests(ClockReader clock);

// How a configuration request leaves (a broadcast on m_sock); the
// replacement returns the byte count or -1.
using RequestSender = std::function<long(const std::vector<uint8_t>&)>;
void setRequestSenderForTests(RequestSender sender);

// How a candidate address of the address walk is probed in place of the echo
// probe and the neighbour table: 1 answers ping, 2 answers ARP only, 0 free.
// A replaced probe can always probe; the walk may call it from several threads.
using AddressProbe = std::function<int(const char*)>;
void setProbeForTests(AddressProbe probe);

// The workstation's own addresses as the address walk sees them, in place of
// the adapters' (nothing: the adapters' again).
void setLocalAddressesForTests(std::optional<std::vector<std::array<uint8_t, 4>>> addresses);

// Skips the raw ICMP socket, as a process without the privilege must.
void setDatagramEchoSocketForTests(bool datagramOnly);

}  // namespace zelk
