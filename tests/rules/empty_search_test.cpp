// The cause named for an empty search: the likeliest one when several hold.
#include <gtest/gtest.h>

#include "empty_search.h"

namespace {

TEST(EmptySearchCause, NamesTheLikeliestCauseFirst) {
    const struct {
        bool gone, adapterUp, probeHeard;
        std::string lan;
        const char* expected;  // a fragment of the cause; empty: none is named
    } cases[] = {
        {true, false, false, "192.168.1.10", "holds the local address 192.168.1.10 any longer"},
        {false, false, false, "", "no network adapter is up"},
        {false, true, false, "", "firewall drops incoming UDP port 50444"},
        {false, true, true, "", ""},
    };
    for (const auto& c : cases) {
        const std::string cause = rules::emptySearchCause({c.probeHeard, c.adapterUp, c.gone}, c.lan);
        if (*c.expected == '\0') EXPECT_EQ(cause, "");
        else EXPECT_NE(cause.find(c.expected), std::string::npos) << cause;
    }
}

TEST(EmptySearchCause, NamesTheRuleOfEachFirewall) {
    const std::string cause = rules::emptySearchCause({false, true, false}, "");
    for (const char* rule : {"nft add rule inet filter input udp dport 50444 accept", "ufw allow 50444/udp",
                             "firewall-cmd --permanent --add-port=50444/udp && firewall-cmd --reload"})
        EXPECT_NE(cause.find(rule), std::string::npos) << rule;
}

}  // namespace
