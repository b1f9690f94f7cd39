// Hosts that answer echo requests as a test wants: always, only the first
// time, or never (the namespace's kernel is told not to answer by itself).
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeHosts {
public:
    FakeHosts();
    ~FakeHosts();
    FakeHosts(const FakeHosts&) = delete;
    FakeHosts& operator=(const FakeHosts&) = delete;

    // `answers` echo requests to `address` are answered; -1 for every one.
    void answer(const std::string& address, int answers = -1);

    // Before answering (or not) a request, also sends what answers no
    // request: an echo reply of another sequence number, the right reply from
    // another address and an ICMP error about the request.
    void sendNoiseFirst() { noise_ = true; }

private:
    void serve();
    void send(uint32_t source, uint32_t destination, std::vector<uint8_t> icmp);

    int listen_ = -1;
    int send_ = -1;
    std::mutex mutex_;
    std::map<uint32_t, int> answersLeft_;
    std::atomic<bool> noise_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
