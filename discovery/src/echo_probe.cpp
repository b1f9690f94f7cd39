#include "echo_probe.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "packet.h"
#include "socket_holder.h"
#include "trace.h"
#include "zelk_testing.h"

namespace zelk {

namespace {

constexpr int RECEIVE_SIZE = 324;  // IPv4 header, the echo message, room for more
constexpr int WAIT_MS = 1000;
constexpr int ATTEMPTS = 3;
constexpr uint8_t ECHO_REPLY = 0;
constexpr uint8_t ECHO_REQUEST = 8;

bool g_datagramOnly = false;
uint16_t g_identifier = 1;
uint16_t g_sequence = 1;
std::array<uint8_t, ECHO_REQUEST_SIZE> g_request{};

uint32_t tickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool answersRequest(const EchoSocket& socket, const EchoReply& reply, const sockaddr_in& destination,
                    const std::array<uint8_t, ECHO_REQUEST_SIZE>& request) {
    if (reply.type != ECHO_REPLY || reply.source.s_addr != destination.sin_addr.s_addr) return false;
    if (std::memcmp(reply.sequence.data(), request.data() + 6, 2) != 0) return false;
    // The datagram socket's kernel writes its own identifier and delivers only replies carrying it.
    return !socket.raw || std::memcmp(reply.identifier.data(), request.data() + 4, 2) == 0;
}

enum class Wait { Answered, TimedOut, Failed };

// Waits out the second for the answer to the request just sent; anything else is ignored.
Wait awaitAnswer(const EchoSocket& socket, const sockaddr_in& destination, EchoReply& reply) {
    const auto request = g_request;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fd{socket.fd, POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready < 0) {
            debugTrace("[nRet into _ping] Can not select socket\n");
            return Wait::Failed;
        }
        if (ready == 0) {
            debugTrace("[nRet into _ping] Can not Request Timed Out\n");
            return Wait::TimedOut;
        }
        debugTrace("[nRet into _ping] Can select socket\n");
        if (_recvEchoReply(socket, reply) >= 0 && answersRequest(socket, reply, destination, request))
            return Wait::Answered;
    }
}

}  // namespace

void setDatagramEchoSocketForTests(bool datagramOnly) { g_datagramOnly = datagramOnly; }

EchoSocket openEchoSocket() {
    EchoSocket s;
    if (!g_datagramOnly) s.fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    s.raw = s.fd >= 0;
    if (s.fd < 0) {
        s.fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
        int on = 1;
        if (s.fd >= 0) setsockopt(s.fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
    }
    return s;
}

uint16_t internetChecksum(const uint8_t* data, int size) {
    uint32_t sum = 0;
    for (int i = 0; i + 1 < size; i += 2) {
        uint16_t word;
        std::memcpy(&word, data + i, 2);
        sum += word;
    }
    sum = (sum >> 16) + (sum & 0xffff);
    sum += sum >> 16;
    return static_cast<uint16_t>(~sum);
}

const std::array<uint8_t, ECHO_REQUEST_SIZE>& buildEchoRequest() {
    std::array<uint8_t, ECHO_REQUEST_SIZE>& r = g_request;
    r.fill(0);
    r[0] = ECHO_REQUEST;
    writeU16(r.data() + 4, g_identifier++);
    writeU16(r.data() + 6, g_sequence++);
    writeU32(r.data() + 12, tickCount());
    for (int i = 0; i < ECHO_FILLER_SIZE; ++i) r[16 + i] = static_cast<uint8_t>(0x20 + i);
    const uint16_t checksum = internetChecksum(r.data(), ECHO_REQUEST_SIZE);
    std::memcpy(r.data() + 2, &checksum, 2);
    return r;
}

long _sendEchoRequest(const EchoSocket& socket, const sockaddr_in& destination) {
    const auto& r = buildEchoRequest();
    const ssize_t sent = ::sendto(socket.fd, r.data(), r.size(), 0, reinterpret_cast<const sockaddr*>(&destination),
                                  sizeof destination);
    debugTrace(sent == -1 ? "[lpHost into _sendEchoRequest] Can not send the echo request\n"
                          : "[lpHost into _sendEchoRequest] Can send the echo request\n");
    return sent;
}

long _recvEchoReply(const EchoSocket& socket, EchoReply& reply) {
    uint8_t buffer[RECEIVE_SIZE];
    sockaddr_in from{};
    iovec iov{buffer, sizeof buffer};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr msg{};
    msg.msg_name = &from;
    msg.msg_namelen = sizeof from;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(socket.fd, &msg, 0);
    if (n == -1) {
        debugTrace("[nRet into _recvEchoReply] Can not receive echo reply\n");
        return -1;
    }
    debugTrace("[nRet into _recvEchoReply] Can receive echo reply\n");
    reply = EchoReply{};
    reply.source = from.sin_addr;
    int icmp = 0;
    if (socket.raw) {
        if (n < 20) return n;
        icmp = (buffer[0] & 0x0f) * 4;
        reply.ttl = buffer[8];
    } else {
        for (cmsghdr* cm = CMSG_FIRSTHDR(&msg); cm != nullptr; cm = CMSG_NXTHDR(&msg, cm)) {
            if (cm->cmsg_level == IPPROTO_IP && cm->cmsg_type == IP_TTL) std::memcpy(&reply.ttl, CMSG_DATA(cm), sizeof(int));
        }
    }
    // Every field is read only when the datagram holds it.
    if (n >= icmp + 8) {
        reply.type = buffer[icmp];
        std::memcpy(reply.identifier.data(), buffer + icmp + 4, 2);
        std::memcpy(reply.sequence.data(), buffer + icmp + 6, 2);
    }
    if (n >= icmp + 16) reply.tick = readU32(buffer + icmp + 12);
    return n;
}

int _ping(const char* address) {
    EchoSocket socket = openEchoSocket();
    if (socket.fd < 0) {
        debugTrace("[rawSocket into _ping] Can not create raw socket\n");
        return 0;
    }
    debugTrace("[rawSocket into _ping] Can create raw socket\n");
    SocketHolder holder(socket.fd);

    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(address, nullptr, &hints, &found) != 0 || found == nullptr) {
        debugTrace("[lpHost into _ping] Can not get host name\n");
        return 0;
    }
    debugTrace("[lpHost into _ping] Can get host name\n");
    sockaddr_in destination{};
    std::memcpy(&destination, found->ai_addr, sizeof destination);
    freeaddrinfo(found);

    std::printf("_pinging %s [%s] with %d bytes of data:\n", address, inet_ntoa(destination.sin_addr),
                ECHO_FILLER_SIZE);
    int answered = 0;
    for (int attempt = 1; attempt <= ATTEMPTS; ++attempt) {
        _sendEchoRequest(socket, destination);
        EchoReply reply;
        const Wait wait = awaitAnswer(socket, destination, reply);
        if (wait == Wait::Failed) break;  // the address counts as in use
        if (wait == Wait::TimedOut) {
            // A host that answered once is there, even if a later answer is lost.
            if (answered == 0) {
                std::fflush(stdout);
                return 0;
            }
            break;
        }
        ++answered;
        std::printf("Reply[%d] from: %s: bytes=%d time=%ldms TTL=%d\n", attempt, inet_ntoa(reply.source),
                    ECHO_FILLER_SIZE, static_cast<long>(tickCount() - reply.tick), reply.ttl);
    }
    std::fflush(stdout);
    debugTrace(holder.close() == 0 ? "[nRet into _ping] Can close socket\n"
                                       : "[nRet into _ping] Can not close socket\n");
    return 1;
}

}  // namespace zelk
