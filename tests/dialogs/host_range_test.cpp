#include <gtest/gtest.h>

#include "host_range.h"

namespace {

TEST(HostRange, TakesWholeNumbersFrom0To255InOrder) {
    struct Case {
        const char* first;
        const char* last;
        int from;  // -1: refused
        int to;
    };
    const Case cases[] = {
        {"1", "255", 1, 255},   {" 7 ", "7", 7, 7}, {"0", "0", 0, 0},
        {"9", "8", -1, 0},      {"", "5", -1, 0},   {"256", "300", -1, 0},
        {"-1", "5", -1, 0},     {"+1", "5", -1, 0}, {"1x", "5", -1, 0},
        {"0010", "20", -1, 0},  {"١", "5", -1, 0},  // digits of another script
    };
    for (const Case& c : cases) {
        const auto range = hostRange(QString::fromUtf8(c.first), QString::fromUtf8(c.last));
        ASSERT_EQ(range.has_value(), c.from >= 0) << c.first << "~" << c.last;
        if (!range) continue;
        EXPECT_EQ(range->first, c.from);
        EXPECT_EQ(range->last, c.to);
    }
}

TEST(HostRange, ThePrefixEndsBeforeTheLastDot) {
    EXPECT_EQ(addressPrefix("192.168.1.20").toStdString(), "192.168.1");
    EXPECT_EQ(addressPrefix("camera").toStdString(), "");
}

}  // namespace
