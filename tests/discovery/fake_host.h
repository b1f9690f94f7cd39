// Hosts that answer echo requests as a test wants: always, only the first
// time, or never (the namespace's kernel is told not to answer by itself).
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

class FakeHosts {
public:
    FakeHosts();
    ~FakeHosts();
    FakeHosts(const FakeHosts&) = delete;
    FakeHosts& operator=(const FakeHosts&) = delete;

    // `answers` echo requests to `address` are answered; -1 for every one.
    void answer(const std::string& address, int answers = -1);

    // Also sends an unrelated ICMP message before each answer.
    void sendNoiseFirst() { noise_ = true; }

private:
    void serve();

    int listen_ = -1;
    int send_ = -1;
    std::mutex mutex_;
    std::map<uint32_t, int> answersLeft_;
    std::atomic<bool> noise_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
