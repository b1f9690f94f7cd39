// The UDP socket on port 50444 shared by the search and the configuration requests.
#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>

namespace zelk {

// The adapter a socket keeps to; index 0 means every adapter.
struct ChosenAdapter {
    unsigned index = 0;
    in_addr address{};
};

// Opens a broadcast socket on port 50444. An empty address listens on every
// adapter; a dotted address ties the socket to the adapter that owns it,
// written to `chosen`. Returns the socket, or -20101, -20102, -20103.
int _initBroadcastSocket(const char* localAddress, ChosenAdapter& chosen);

// Sends to 255.255.255.255 port 50444 from m_sock, out of its adapter only.
// Returns the byte count, or -1.
long sendOnLibrarySocket(const void* data, size_t size);

// Receives one datagram on m_sock into `buffer`. Returns its length; -1 when
// the receive fails or the datagram is larger than `size`. `fromChosenAdapter`
// is false for a datagram that arrived on another adapter than m_sock's.
int receiveOnLibrarySocket(uint8_t* buffer, int size, bool& fromChosenAdapter);

// Closes an open m_sock and opens m_sock anew on `localAddress`, with the
// search's trace lines. Returns 0 or -20101.
int prepareLibrarySocket(const char* localAddress);

// Closes m_sock when it is open and marks it closed.
void closeLibrarySocket();

}  // namespace zelk
