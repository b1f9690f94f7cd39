// Searches on a lossy segment, inside a private network namespace: nftables
// in the workstation's namespace drops a share of the replies arriving on its
// adapter. Counts how many of 20 cameras each search lists, with one probe
// and with three.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "trace.h"
#include "zelk_search.h"
#include "zelk_testing.h"

namespace {

constexpr int CAMERAS = 20;
constexpr int SEARCHES = 20;
constexpr auto WINDOW = std::chrono::milliseconds(1000);

std::vector<std::vector<uint8_t>> cameraReplies() {
    std::vector<std::vector<uint8_t>> replies;
    for (int n = 0; n < CAMERAS; ++n) {
        ReplyCamera c;
        c.id[5] = static_cast<uint8_t>(n);
        c.ip = {192, 168, 1, static_cast<uint8_t>(100 + n)};
        replies.push_back(ReplyBuilder().camera(c).bytes());
    }
    return replies;
}

bool dropReplies(int percent) {
    testnet::run("nft delete table inet lossy");
    return testnet::run("nft add table inet lossy") &&
           testnet::run("nft add chain inet lossy in '{ type filter hook input priority 0; }'") &&
           testnet::run("nft add rule inet lossy in iifname wsA udp dport 50444 numgen random mod 100 '<' " +
                        std::to_string(percent) + " drop");
}

void measure(int lossPercent, int probes) {
    zelk::SearchOptions options;
    options.probes = probes;
    std::vector<int> listed;
    for (int run = 0; run < SEARCHES; ++run) listed.push_back(zelk::searchCameras("", options).count);
    int total = 0;
    for (int n : listed) total += n;
    const long complete = std::count(listed.begin(), listed.end(), CAMERAS);
    std::sort(listed.begin(), listed.end());
    std::printf("%2d%% of replies dropped, %d probe%s: %3d of %d found over %d searches (median %d, min %d), "
                "all %d found in %ld searches\n",
                lossPercent, probes, probes == 1 ? " " : "s", total, CAMERAS * SEARCHES, SEARCHES,
                listed[listed.size() / 2], listed.front(), CAMERAS, complete);
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
    Responder cameras("camA", cameraReplies());
    for (int loss : {10, 30}) {
        if (!dropReplies(loss)) {
            std::fprintf(stderr, "cannot run: nft cannot filter here (scripts/install-deps installs nftables)\n");
            return testnet::SKIP;
        }
        for (int probes : {1, 3}) measure(loss, probes);
    }
    return 0;
}
