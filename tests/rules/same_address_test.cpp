#include <gtest/gtest.h>

#include "same_address.h"

TEST(SameAddress, NamesTheOtherCamerasAtAnAddressAndIgnoresMissingOnes) {
    const auto peers = rules::sameAddressPeers(
        {u"192.168.1.200", u"192.168.1.21", u"192.168.1.200", u"N/A", u"N/A", u"", u"", u"192.168.1.200"});
    const std::vector<std::vector<size_t>> expected{{2, 7}, {}, {0, 7}, {}, {}, {}, {}, {0, 2}};
    EXPECT_EQ(peers, expected);
}
