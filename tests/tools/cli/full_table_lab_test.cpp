// ostrel-cli on a private segment where one host answers a probe as more
// distinct cameras than a search can list: the listed ones are printed and
// the loss is said on standard error, not hidden in a count.
// usage: cli_full_table_lab_test OSTREL_CLI
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "zelk.h"

namespace {

std::string g_cli;

ReplyCamera cameraNumber(int n) {
    ReplyCamera c;
    c.id = {0x02, 0x43, 0x00, 0x00, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n), 0, 0};
    c.ip = {192, 168, 1, static_cast<uint8_t>(n % 200 + 20)};
    c.name = "cam-" + std::to_string(n);
    return c;
}

std::string contents(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct CliRun {
    int status = -1;
    std::string out, err;
};

// Runs `ostrel-cli search --probes 10` while `cameras` distinct cameras
// answer each probe on the segment: the kernel may drop part of each burst,
// ten of them bring every camera at least once.
CliRun searchAgainst(int cameras) {
    std::vector<std::vector<uint8_t>> replies;
    for (int n = 0; n < cameras; ++n) replies.push_back(ReplyBuilder().camera(cameraNumber(n)).bytes());
    Responder sender("camA", std::move(replies));
    char folder[] = "/tmp/cli_full_table.XXXXXX";
    if (mkdtemp(folder) == nullptr) return {};
    const std::string out = std::string(folder) + "/out", err = std::string(folder) + "/err";
    const int raw = std::system(("'" + g_cli + "' search --probes 10 >" + out + " 2>" + err).c_str());
    CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, contents(out), contents(err)};
    std::remove(out.c_str());
    std::remove(err.c_str());
    rmdir(folder);
    return run;
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

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OSTREL_CLI\n", argv[0]);
        return 2;
    }
    g_cli = argv[1];
    std::string why;
    if (!testnet::enterOneSegment(why)) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segment" : why.c_str());
        return testnet::SKIP;
    }
    return RUN_ALL_TESTS();
}
