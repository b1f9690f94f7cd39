// Stand-in cameras for search tests: answer every probe heard on one
// interface with their fixed replies, back to back, and count the requests heard.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class Responder {
public:
    Responder(const std::string& interface, std::vector<std::vector<uint8_t>> replies, int answersPerProbe = 1);
    ~Responder();
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    int probesHeard() const { return probes_; }
    // Configuration requests (set, factory default, multi-set) heard on the interface.
    int requestsHeard() const { return requests_; }

private:
    void serve();

    int sock_ = -1;
    std::vector<std::vector<uint8_t>> replies_;
    int answersPerProbe_;
    std::atomic<bool> stop_{false};
    std::atomic<int> probes_{0};
    std::atomic<int> requests_{0};
    std::thread thread_;
};
