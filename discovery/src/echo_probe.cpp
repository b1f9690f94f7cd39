#include "echo_probe.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "packet.h"
#include "socket_holder.h"
#include "trace.h"
#include "zelk_testing.h"

namespace zelk {

namespace {

constexpr int RECEIVE_SIZE = 324;  // IPv4 header, the echo message, room for more
constexpr size_t IP_HEADER_MIN = 20;
constexpr size_t ECHO_FIELDS_SIZE = 16;  // the message up to and with the tick count
constexpr int WAIT_MS = 1000;
constexpr int ATTEMPTS = 3;
constexpr uint8_t ECHO_REPLY = 0;
constexpr uint8_t ECHO_REQUEST = 8;

bool g_datagramOnly = false;
std::mutex g_requestMutex;  // the counters and the buffer below
uint16_t g_identifier = 1;
uint16_t g_sequence = 1;
EchoRequest g_request{};
thread_local ProbeTranscript* t_transcript = nullptr;

uint32_t tickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void trace(const char* line) {
    if (t_transcript != nullptr) {
        t_transcript->lines.push_back({false, line});
    } else {
        debugTrace(line);
    }
}

__attribute__((format(printf, 1, 2))) void report(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (t_transcript != nullptr) {
        t_transcript->lines.push_back({true, line});
    } else {
        std::fputs(line, stdout);
    }
}

std::string dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

bool answersRequest(const EchoSocket& socket, const EchoReply& reply, const sockaddr_in& destination,
                    const EchoRequest& request) {
    if (reply.type != ECHO_REPLY || reply.source.s_addr != destination.sin_addr.s_addr) return false;
    if (std::memcmp(reply.sequence.data(), request.data() + 6, 2) != 0) return false;
    // The datagram socket's kernel writes its own identifier and delivers only replies carrying it.
    return !socket.raw || std::memcmp(reply.identifier.data(), request.data() + 4, 2) == 0;
}

enum class Wait { Answered, TimedOut, Failed };

// Waits out the second for the answer to the request just sent; anything else is ignored.
Wait awaitAnswer(const EchoSocket& socket, const sockaddr_in& destination, const EchoRequest& request,
                 EchoReply& reply) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fd{socket.fd, POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready < 0) {
            trace("[nRet into _ping] Can not select socket\n");
            return Wait::Failed;
        }
        trace("[nRet into _ping] Can select socket\n");
        if (ready == 0) {
            trace("[nRet into _ping] Can not Request Timed Out\n");
            return Wait::TimedOut;
        }
        if (_recvEchoReply(socket, reply) >= 0 && answersRequest(socket, reply, destination, request))
            return Wait::Answered;
    }
}

// Keeps what this thread's probe writes in a transcript while it lives.
class TranscriptScope {
public:
    explicit TranscriptScope(ProbeTranscript& transcript) : previous_(t_transcript) { t_transcript = &transcript; }
    ~TranscriptScope() { t_transcript = previous_; }
    TranscriptScope(const TranscriptScope&) = delete;
    TranscriptScope& operator=(const TranscriptScope&) = delete;

private:
    ProbeTranscript* previous_;
};

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

EchoRequest buildEchoRequest() {
    const std::lock_guard<std::mutex> lock(g_requestMutex);
    EchoRequest& r = g_request;
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

long _sendEchoRequest(const EchoSocket& socket, const sockaddr_in& destination, EchoRequest& sent) {
    sent = buildEchoRequest();
    const ssize_t n = ::sendto(socket.fd, sent.data(), sent.size(), 0, reinterpret_cast<const sockaddr*>(&destination),
                               sizeof destination);
    trace(n == -1 ? "[lpHost into _sendEchoRequest] Can not send the echo request\n"
                  : "[lpHost into _sendEchoRequest] Can send the echo request\n");
    return n;
}

EchoReply parseEchoReply(const uint8_t* data, size_t size, bool withIpHeader) {
    EchoReply reply;
    size_t icmp = 0;
    if (withIpHeader) {
        if (size < IP_HEADER_MIN) return reply;
        reply.ttl = data[8];
        icmp = static_cast<size_t>(data[0] & 0x0f) * 4;
        // A shorter header length would have us read the IPv4 header as the message.
        if (icmp < IP_HEADER_MIN) return reply;
    }
    // A message cut before the tick count is no answer: its time would be made up.
    if (size < icmp + ECHO_FIELDS_SIZE) return reply;
    reply.type = data[icmp];
    std::memcpy(reply.identifier.data(), data + icmp + 4, 2);
    std::memcpy(reply.sequence.data(), data + icmp + 6, 2);
    reply.tick = readU32(data + icmp + 12);
    return reply;
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
        trace("[nRet into _recvEchoReply] Can not receive echo reply\n");
        return -1;
    }
    trace("[nRet into _recvEchoReply] Can receive echo reply\n");
    reply = parseEchoReply(buffer, static_cast<size_t>(n), socket.raw);
    reply.source = from.sin_addr;
    if (!socket.raw) {
        for (cmsghdr* cm = CMSG_FIRSTHDR(&msg); cm != nullptr; cm = CMSG_NXTHDR(&msg, cm)) {
            if (cm->cmsg_level == IPPROTO_IP && cm->cmsg_type == IP_TTL) std::memcpy(&reply.ttl, CMSG_DATA(cm), sizeof(int));
        }
    }
    return n;
}

int _ping(const char* address) {
    EchoSocket socket = openEchoSocket();
    if (socket.fd < 0) {
        trace("[rawSocket into _ping] Can not create raw socket\n");
        return 0;
    }
    trace("[rawSocket into _ping] Can create raw socket\n");
    SocketHolder holder(socket.fd);

    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(address, nullptr, &hints, &found) != 0 || found == nullptr) {
        trace("[lpHost into _ping] Can not get host name\n");
        return 0;
    }
    trace("[lpHost into _ping] Can get host name\n");
    sockaddr_in destination{};
    std::memcpy(&destination, found->ai_addr, sizeof destination);
    freeaddrinfo(found);

    report("_pinging %s [%s] with %d bytes of data:\n", address, dotted(destination.sin_addr).c_str(),
           ECHO_FILLER_SIZE);
    int answered = 0;
    for (int attempt = 1; attempt <= ATTEMPTS; ++attempt) {
        EchoRequest request;
        _sendEchoRequest(socket, destination, request);
        EchoReply reply;
        const Wait wait = awaitAnswer(socket, destination, request, reply);
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
        report("Reply[%d] from: %s: bytes=%d time=%ldms TTL=%d\n", attempt, dotted(reply.source).c_str(),
               ECHO_FILLER_SIZE, static_cast<long>(tickCount() - reply.tick), reply.ttl);
    }
    std::fflush(stdout);
    trace(holder.close() == 0 ? "[nRet into _ping] Can close socket\n" : "[nRet into _ping] Can not close socket\n");
    return 1;
}

void ProbeTranscript::replay() const {
    for (const Line& line : lines) {
        if (line.report) {
            std::fputs(line.text.c_str(), stdout);
        } else {
            debugTrace(line.text);
        }
    }
    std::fflush(stdout);
}

int pingInto(const char* address, ProbeTranscript& transcript) {
    const TranscriptScope scope(transcript);
    return _ping(address);
}

}  // namespace zelk
