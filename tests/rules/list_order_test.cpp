#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "list_order.h"

namespace {

using rules::ListColumn;

std::vector<std::u16string> sorted(ListColumn column, std::vector<std::u16string> cells) {
    std::stable_sort(cells.begin(), cells.end(),
                     [column](const auto& a, const auto& b) { return rules::cellBefore(column, a, b); });
    return cells;
}

TEST(ListOrder, SortsEachColumnByWhatItHolds) {
    struct Case {
        ListColumn column;
        std::vector<std::u16string> cells;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {ListColumn::IpAddress,
         {u"10.0.0.10", u"N/A", u"10.0.0.9", u"9.255.255.255", u"192.168.1.2"},
         {u"9.255.255.255", u"10.0.0.9", u"10.0.0.10", u"192.168.1.2", u"N/A"}},
        // Not an address: after the addresses, by text.
        {ListColumn::IpAddress, {u"10.0.0.256", u"1.2.3", u"10.0.0.1"}, {u"10.0.0.1", u"1.2.3", u"10.0.0.256"}},
        {ListColumn::FirmwareVersion,
         {u"1.10.0", u"N/A", u"1.9.3", u"0.3.1(need to upgrade from 0.3.1 to v0.3.3 more)", u"V0.3.2(need to upgrade from V0.3.2 to v0.3.3 more)"},
         {u"0.3.1(need to upgrade from 0.3.1 to v0.3.3 more)", u"V0.3.2(need to upgrade from V0.3.2 to v0.3.3 more)", u"1.9.3", u"1.10.0", u"N/A"}},
        {ListColumn::DeviceName, {u"parking", u"Entrance", u"loading dock", u"Lobby"},
         {u"Entrance", u"loading dock", u"Lobby", u"parking"}},
        {ListColumn::MacAddress, {u"02-1a-00", u"02-1A-01", u"02-1a-00-00"}, {u"02-1a-00", u"02-1a-00-00", u"02-1A-01"}},
    };
    for (const Case& c : cases) EXPECT_EQ(sorted(c.column, c.cells), c.expected) << static_cast<int>(c.column);
}

TEST(ListOrder, EqualCellsKeepTheirOrderAndHugeNumbersDoNotOverflow) {
    // Equal in every column's comparison: a stable sort keeps them as they came.
    EXPECT_FALSE(rules::cellBefore(ListColumn::ModelName, u"CX", u"cx"));
    EXPECT_FALSE(rules::cellBefore(ListColumn::ModelName, u"cx", u"CX"));
    EXPECT_TRUE(rules::cellBefore(ListColumn::FirmwareVersion, u"99999999999999999999999.1.0",
                                  u"99999999999999999999999.2.0"));
}

}  // namespace
