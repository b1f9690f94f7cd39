#include "fake_host.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "echo_probe.h"

namespace {

std::vector<uint8_t> ipPacket(uint32_t source, uint32_t destination, std::vector<uint8_t> icmp) {
    icmp[2] = icmp[3] = 0;
    const uint16_t checksum = zelk::internetChecksum(icmp.data(), static_cast<int>(icmp.size()));
    std::memcpy(icmp.data() + 2, &checksum, 2);
    std::vector<uint8_t> packet(20, 0);
    packet[0] = 0x45;
    const uint16_t total = htons(static_cast<uint16_t>(20 + icmp.size()));
    std::memcpy(packet.data() + 2, &total, 2);
    packet[8] = 64;
    packet[9] = IPPROTO_ICMP;
    std::memcpy(packet.data() + 12, &source, 4);
    std::memcpy(packet.data() + 16, &destination, 4);
    packet.insert(packet.end(), icmp.begin(), icmp.end());
    return packet;
}

}  // namespace

FakeHosts::FakeHosts() {
    listen_ = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    send_ = ::socket(AF_INET, SOCK_RAW, IPPROTO_RAW);
    if (listen_ < 0 || send_ < 0) throw std::runtime_error("fake hosts need raw sockets");
    thread_ = std::thread([this] { serve(); });
}

FakeHosts::~FakeHosts() {
    stop_ = true;
    thread_.join();
    ::close(listen_);
    ::close(send_);
}

void FakeHosts::answer(const std::string& address, int answers) {
    std::lock_guard<std::mutex> lock(mutex_);
    answersLeft_[inet_addr(address.c_str())] = answers;
}

void FakeHosts::send(uint32_t source, uint32_t destination, std::vector<uint8_t> icmp) {
    const auto packet = ipPacket(source, destination, std::move(icmp));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = destination;
    ::sendto(send_, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

void FakeHosts::serve() {
    uint8_t buffer[1500];
    while (!stop_) {
        pollfd fd{listen_, POLLIN, 0};
        if (::poll(&fd, 1, 50) <= 0) continue;
        const ssize_t n = ::recv(listen_, buffer, sizeof buffer, 0);
        if (n < 28 || buffer[20] != 8) continue;  // echo requests only
        uint32_t from;
        uint32_t to;
        std::memcpy(&from, buffer + 12, 4);
        std::memcpy(&to, buffer + 16, 4);
        bool answers = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = answersLeft_.find(to);
            if (it == answersLeft_.end()) continue;
            answers = it->second != 0;
            if (it->second > 0) --it->second;
        }
        std::vector<uint8_t> reply(buffer + 20, buffer + n);
        reply[0] = 0;
        if (noise_) {
            std::vector<uint8_t> otherSequence = reply;
            otherSequence[6] ^= 0x55;
            send(to, from, otherSequence);
            send(inet_addr("192.168.1.99"), from, reply);
            std::vector<uint8_t> unreachable{3, 1, 0, 0, 0, 0, 0, 0};
            unreachable.insert(unreachable.end(), buffer, buffer + 28);
            send(to, from, unreachable);
        }
        if (answers) send(to, from, reply);
    }
}
