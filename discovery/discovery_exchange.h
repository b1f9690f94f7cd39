// Internal steps of a search.
#pragma once

#include <chrono>
#include <cstdint>

#include "zelk.h"

namespace zelk {

// Broadcasts the probe on m_sock and stores the replies of the receive window.
int _discovery_device();

// Validates one received datagram and stores it when it is a search reply.
int _parsePacket(const uint8_t* data, int length);

// Turns the table into the caller's records and the scan document.
// Returns 0, or -20104 when the document and its zero do not fit in
// *textLength bytes; then nothing is written.
int _generatePacketInfo(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText);

// Test seam: a receive window of the given length on a monotonic clock
// instead of four wall-clock seconds; zero restores the real window.
void setReceiveWindowForTests(std::chrono::milliseconds window);

}  // namespace zelk
