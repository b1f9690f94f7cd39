// Asks whether a host answers at an address, with ICMP echo requests.
#pragma once

#include <netinet/in.h>

#include <array>
#include <cstdint>

namespace zelk {

inline constexpr int ECHO_REQUEST_SIZE = 48;
inline constexpr int ECHO_FILLER_SIZE = 32;

struct EchoSocket {
    int fd = -1;
    bool raw = false;  // raw sockets return the IPv4 header; datagram sockets do not
};

// A raw ICMP socket, else an unprivileged ICMP datagram socket; fd -1 when neither.
EchoSocket openEchoSocket();

// The RFC 1071 checksum of `size` bytes (an even count).
uint16_t internetChecksum(const uint8_t* data, int size);

// Builds the next echo request in the process-wide buffer: the counters
// move on, the tick count and the checksum are filled in.
const std::array<uint8_t, ECHO_REQUEST_SIZE>& buildEchoRequest();

// Builds the next echo request and sends it. Returns what the send returned.
long _sendEchoRequest(const EchoSocket& socket, const sockaddr_in& destination);

struct EchoReply {
    in_addr source{};
    int ttl = 0;
    uint8_t type = 0xff;
    std::array<uint8_t, 2> identifier{};
    std::array<uint8_t, 2> sequence{};
    uint32_t tick = 0;  // the tick count the request carried
};

// Receives one datagram. Returns its byte count, or -1.
long _recvEchoReply(const EchoSocket& socket, EchoReply& reply);

// 1 when a host answers at `address`, 0 when it is free or cannot be probed.
int _ping(const char* address);

}  // namespace zelk
