// Whole searches in a private network namespace: how long a search takes
// beyond its receive window, and how many of a burst of replies sent back to
// back it lists. Prints medians of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "trace.h"
#include "zelk_search.h"
#include "zelk_testing.h"

namespace {

constexpr auto WINDOW = std::chrono::milliseconds(1000);
constexpr int RUNS = 5;

std::vector<std::vector<uint8_t>> burstOf(int cameras) {
    std::vector<std::vector<uint8_t>> replies;
    for (int n = 0; n < cameras; ++n) {
        ReplyCamera c;
        c.id[4] = static_cast<uint8_t>(n >> 8);
        c.id[5] = static_cast<uint8_t>(n);
        c.ip = {192, 168, static_cast<uint8_t>(100 + n / 250), static_cast<uint8_t>(1 + n % 250)};
        c.rtsp1 = "rtsp://192.168.1.20:554/stream1";
        c.web = "http://192.168.1.20";
        replies.push_back(ReplyBuilder().camera(c).bytes());
    }
    return replies;
}

template <typename T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measure(int cameras) {
    Responder responder("camA", burstOf(cameras));
    std::vector<double> beyond;
    std::vector<int> listed;
    for (int run = 0; run < RUNS; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const int count = zelk::searchCameras("").count;
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        beyond.push_back(took.count() - static_cast<double>(WINDOW.count()));
        listed.push_back(count);
    }
    std::printf("%4d replies back to back: listed median %3d of %d (min %d), search beyond its window median %.1f ms\n",
                cameras, median(listed), cameras, *std::min_element(listed.begin(), listed.end()), median(beyond));
}

}  // namespace

int main() {
    std::string why;
    if (!testnet::enterOneSegment(why)) {
        std::fprintf(stderr, "cannot run: %s\n", why.c_str());
        return testnet::SKIP;
    }
    zelk::setTraceSink([](std::string_view) {});
    zelk::setReceiveWindowForTests(WINDOW);
    for (int cameras : {0, 16, 200, 500}) measure(cameras);
    return 0;
}
