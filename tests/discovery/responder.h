// A stand-in camera for search tests: answers every probe heard on one
// interface with a fixed reply.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class Responder {
public:
    Responder(const std::string& interface, std::vector<uint8_t> reply, int answersPerProbe = 1);
    ~Responder();
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    int probesHeard() const { return probes_; }

private:
    void serve();

    int sock_ = -1;
    std::vector<uint8_t> reply_;
    int answersPerProbe_;
    std::atomic<bool> stop_{false};
    std::atomic<int> probes_{0};
    std::thread thread_;
};

// Sends `datagram` to 255.255.255.255:50444 out of `interface` `times` times, back to back.
void broadcastFrom(const std::string& interface, const std::vector<uint8_t>& datagram, int times = 1);
