// The UDP socket on port 50444 shared by the search and the configuration requests.
#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelk {

// An adapter by interface index, with one of its addresses; index 0 means
// every adapter (or, when sending, as the routing table decides).
struct LocalAdapter {
    unsigned index = 0;
    in_addr address{};
};

// Where a received datagram came in and from whom.
struct Arrival {
    unsigned adapter = 0;  // interface index from IP_PKTINFO; 0 when the system did not say
    sockaddr_in from{};
};

// Opens a broadcast socket on port 50444. An empty address, or one that
// reads as 0.0.0.0, listens on every adapter; a dotted address ties the
// socket to the adapter that owns it, written to `chosen`. Returns the
// socket, or -20101, -20102, -20103.
int _initBroadcastSocket(const char* localAddress, LocalAdapter& chosen);

// Every adapter that can carry a broadcast (up, not loopback, with an IPv4
// address), each once.
std::vector<LocalAdapter> broadcastAdapters();

// The adapter m_sock keeps to; index 0 when it serves every adapter.
const LocalAdapter& librarySocketAdapter();

// Sends to 255.255.255.255 port 50444 from m_sock: out of m_sock's adapter
// when it keeps to one, otherwise one copy out of each of `adapters` (one
// datagram as the routing table decides when there is none). Returns the
// byte count when any copy left, or -1.
long sendOnLibrarySocket(const void* data, size_t size, const std::vector<LocalAdapter>& adapters);

// Receives one datagram on m_sock into `buffer`. Returns its length; -1 when
// the receive fails or the datagram is larger than `size`.
int receiveOnLibrarySocket(uint8_t* buffer, int size, Arrival& arrival);

// Closes an open m_sock and opens m_sock anew on `localAddress`, with the
// search's trace lines. Returns 0 or -20101.
int prepareLibrarySocket(const char* localAddress);

// Closes m_sock when it is open and marks it closed.
void closeLibrarySocket();

}  // namespace zelk
