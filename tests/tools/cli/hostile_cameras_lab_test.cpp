// ostrel-cli against hostile senders, each next to well-formed cameras: the
// search ends and exits 0, the scan document it prints lists exactly the
// cameras it must with exactly their fields, and the table puts nothing a
// camera sent raw on the terminal.
#include <gtest/gtest.h>

#include <json/json.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_run.h"
#include "hostile_senders.h"
#include "responder.h"
#include "zelk.h"

namespace {

using namespace hostile;

// Nothing but printable text and line ends: a camera's bytes could otherwise drive the terminal.
bool safeForATerminal(const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\n') || byte == 0x7f;
    });
}

size_t lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(CliHostileSenders, MalformedAndStrangeRepliesLeaveTheOthersExact) {
    for (const Case& c : malformedAndStrange()) {
        SCOPED_TRACE(c.what);
        const Sender h = c.make();
        const std::vector<Listed> all = mustBeListed(h);
        Responder sender("camA", afterTheWellFormed(h.datagrams));

        const CliRun json = runCli({"search", "--json", "--show-passwords"});
        ASSERT_EQ(json.status, 0) << json.err;
        Json::Value document;
        ASSERT_TRUE(Json::Reader().parse(json.out, document)) << json.out;
        EXPECT_EQ(document["nNOIPCAM"].asInt(), static_cast<int>(all.size()));
        for (const Listed& l : all) {
            const Json::Value* entry = entryOf(document, l.camera);
            ASSERT_NE(entry, nullptr) << "not listed: " << macText(l.camera.id);
            expectShownAs(*entry, l);
        }

        const CliRun table = runCli({"search"});
        EXPECT_EQ(table.status, 0) << table.err;
        EXPECT_TRUE(safeForATerminal(table.out)) << table.out;
        EXPECT_EQ(lines(table.out), all.size() + 2) << table.out;  // the heading, a line a camera, the count
    }
}

TEST(CliHostileSenders, FloodsLeaveTheWellFormedListedInBoundedMemory) {
    const std::pair<const char*, std::vector<Datagram>> floods[] = {
        {"2,000 cameras", twoThousandCameras()},
        {"a burst of 50,000 datagrams", burstOfFiftyThousand()},
    };
    for (const auto& [what, datagrams] : floods) {
        SCOPED_TRACE(what);
        Responder sender("camA", afterTheWellFormed(datagrams));
        const CliRun run = runCli({"search", "--json"});
        ASSERT_EQ(run.status, 0) << run.err;
        Json::Value document;
        ASSERT_TRUE(Json::Reader().parse(run.out, document));
        const int count = document["nNOIPCAM"].asInt();
        EXPECT_LE(count, ZELK_MAX_DEVICES);
        // How many arrive is the kernel's choice; only a full table can have dropped any.
        const bool said = run.err.find("the table of the search was full") != std::string::npos;
        EXPECT_TRUE(!said || count == ZELK_MAX_DEVICES) << count << " listed; " << run.err;
        for (const ReplyCamera& c : wellFormed()) EXPECT_NE(entryOf(document, c), nullptr) << macText(c.id);
        std::printf("%s: %d listed, ostrel-cli peaked at %ld kB\n", what, count, run.peakKilobytes);
        EXPECT_LT(run.peakKilobytes, 512 * 1024) << "kB";
    }
}

}  // namespace
