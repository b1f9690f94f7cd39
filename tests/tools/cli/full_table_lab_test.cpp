// ostrel-cli on a private segment where one host answers a probe as more
// distinct cameras than a search can list: the listed ones are printed and
// the loss is said on standard error, not hidden in a count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_run.h"
#include "hostile_senders.h"
#include "responder.h"
#include "zelk.h"

namespace {

// Runs `ostrel-cli search --probes 10` while `cameras` distinct cameras
// answer each probe on the segment: the kernel may drop part of each burst,
// ten of them bring every camera at least once.
CliRun searchAgainst(int cameras) {
    std::vector<std::vector<uint8_t>> replies;
    for (int n = 0; n < cameras; ++n) replies.push_back(hostile::replyOf(hostile::cameraNumber(n, "cam-" + std::to_string(n))));
    Responder sender("camA", std::move(replies));
    return runCli({"search", "--probes", "10"});
}

TEST(CliFullTable, ASearchThatDroppedCamerasSaysSo) {
    const CliRun full = searchAgainst(ZELK_MAX_DEVICES + 100);
    EXPECT_EQ(full.status, 0);
    EXPECT_NE(full.out.find("\n" + std::to_string(ZELK_MAX_DEVICES) + " cameras\n"), std::string::npos);
    EXPECT_NE(full.err.find("the table of the search was full"), std::string::npos) << full.err;
}

// However many of them arrive, a table that can hold every one drops none.
TEST(CliFullTable, ATableThatJustHoldsEveryCameraSaysNothing) {
    const CliRun exact = searchAgainst(ZELK_MAX_DEVICES);
    EXPECT_EQ(exact.status, 0);
    EXPECT_EQ(exact.err, "");
}

}  // namespace
