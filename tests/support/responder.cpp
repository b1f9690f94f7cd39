#include "responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "packet.h"

namespace {

int socketOn(const std::string& interface) {
    int sock = ::socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(sock, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    if (setsockopt(sock, SOL_SOCKET, SO_BINDTODEVICE, interface.c_str(),
                   static_cast<socklen_t>(interface.size())) != 0)
        throw std::runtime_error("cannot bind to device " + interface);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(zelk::IDCP_PORT);
    if (::bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        throw std::runtime_error("cannot bind port 50444");
    return sock;
}

void sendBroadcastDatagram(int sock, const std::vector<uint8_t>& datagram) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(zelk::IDCP_PORT);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    ::sendto(sock, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

}  // namespace

Responder::Responder(const std::string& interface, std::vector<std::vector<uint8_t>> replies, int answersPerProbe)
    : sock_(socketOn(interface)), replies_(std::move(replies)), answersPerProbe_(answersPerProbe),
      thread_([this] { serve(); }) {}

Responder::~Responder() {
    stop_ = true;
    thread_.join();
    ::close(sock_);
}

void Responder::serve() {
    uint8_t buffer[zelk::IDCP_RECV_SIZE];
    while (!stop_) {
        pollfd fd{sock_, POLLIN, 0};
        if (::poll(&fd, 1, 50) <= 0) continue;
        ssize_t n = ::recv(sock_, buffer, sizeof buffer, 0);
        if (n < zelk::IDCP_HEADER_SIZE) continue;
        const uint32_t command = zelk::decodeHeader(buffer).command;
        if (command == zelk::CMD_SET || command == zelk::CMD_MULTI_SET) ++requests_;
        // Only probes are answered: a responder hears its own replies too.
        if (command != zelk::CMD_PROBE) continue;
        ++probes_;
        for (int i = 0; i < answersPerProbe_; ++i) {
            for (const auto& reply : replies_) sendBroadcastDatagram(sock_, reply);
        }
    }
}
