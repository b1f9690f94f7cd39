// The UDP socket on port 50444 shared by the search and the configuration requests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelk {

// Opens a broadcast socket on port 50444. An empty address listens on every
// adapter; a dotted address ties the socket to the adapter that owns it.
// Returns the socket, or -20101, -20102, -20103.
int _initBroadcastSocket(const char* localAddress);

// Sends to 255.255.255.255 port 50444, out of the chosen adapter only.
// Returns the byte count, or -1.
long sendBroadcast(int sock, const void* data, size_t size);

// Receives one datagram into `buffer`. Returns its length; -1 when the
// receive fails or the datagram is larger than `size`. `fromChosenAdapter`
// is false for a datagram that arrived on another adapter than the chosen one.
int receiveDatagram(int sock, uint8_t* buffer, int size, bool& fromChosenAdapter);

// Closes an open m_sock and opens m_sock anew on `localAddress`, with the
// search's trace lines. Returns 0 or -20101.
int prepareLibrarySocket(const char* localAddress);

// Closes m_sock when it is open and marks it closed.
void closeLibrarySocket();

}  // namespace zelk
