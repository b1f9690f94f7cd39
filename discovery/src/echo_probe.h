// Asks whether a host answers at an address, with ICMP echo requests.
#pragma once

#include <netinet/in.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

inline constexpr int ECHO_REQUEST_SIZE = 48;
inline constexpr int ECHO_FILLER_SIZE = 32;

using EchoRequest = std::array<uint8_t, ECHO_REQUEST_SIZE>;

struct EchoSocket {
    int fd = -1;
    bool raw = false;  // raw sockets return the IPv4 header; datagram sockets do not
};

// A raw ICMP socket, else an unprivileged ICMP datagram socket; fd -1 when neither.
EchoSocket openEchoSocket();

// The RFC 1071 checksum of `size` bytes (an even count).
uint16_t internetChecksum(const uint8_t* data, int size);

// Builds the next echo request in the process-wide buffer and returns a copy:
// the counters move on, the tick count and the checksum are filled in. Safe
// from several threads.
EchoRequest buildEchoRequest();

// Builds the next echo request, sends it and hands it back in `sent`.
// Returns what the send returned.
long _sendEchoRequest(const EchoSocket& socket, const sockaddr_in& destination, EchoRequest& sent);

struct EchoReply {
    in_addr source{};
    int ttl = 0;
    uint8_t type = 0xff;  // 0xff: no message up to its tick count, or an impossible header length
    std::array<uint8_t, 2> identifier{};
    std::array<uint8_t, 2> sequence{};
    uint32_t tick = 0;  // the tick count the request carried
};

// Reads a received ICMP datagram: with its IPv4 header first when `withIpHeader`
// (a raw socket's; the TTL comes from it), else the ICMP message alone. Reads
// only what the bytes hold, and the message's fields only when it holds them
// all up to the tick count; the source address is left to the caller.
EchoReply parseEchoReply(const uint8_t* data, size_t size, bool withIpHeader);

// Receives one datagram. Returns its byte count, or -1.
long _recvEchoReply(const EchoSocket& socket, EchoReply& reply);

// 1 when a host answers at `address`, 0 when it is free or cannot be probed.
int _ping(const char* address);

// What one probe wrote, kept so that probes run side by side can be told in
// the order of their addresses.
struct ProbeTranscript {
    struct Line {
        bool report;  // the ping report on standard output; else a trace line
        std::string text;
    };
    std::vector<Line> lines;

    // Writes the lines where _ping would have written them.
    void replay() const;
};

// _ping with its trace lines and report kept in `transcript`.
int pingInto(const char* address, ProbeTranscript& transcript);

}  // namespace zelk
