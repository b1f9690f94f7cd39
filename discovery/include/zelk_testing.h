// The library's test seams, in one place. Each replaces one contact with the
// outside world for the tests; an empty or zero argument restores it.
#pragma once

#include <time.h>

#include <chrono>
#include <cstdint>
#include <functional>
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

// How a candidate address of the address walk is probed (1: in use) in place
// of the echo probe; a replaced probe can always probe.
using AddressProbe = std::function<int(const char*)>;
void setProbeForTests(AddressProbe probe);

// Skips the raw ICMP socket, as a process without the privilege must.
void setDatagramEchoSocketForTests(bool datagramOnly);

}  // namespace zelk
