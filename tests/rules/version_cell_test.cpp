#include <gtest/gtest.h>

#include "version_cell.h"

namespace {

TEST(VersionCell, ThreePiecesShownWithTheUpgradeNoteWhereEachPieceIsLow) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"0.3.2", u"0.3.2(need to upgrade from 0.3.2 to v0.3.3 more)"},
        {u"V0.3.1", u"V0.3.1(need to upgrade from V0.3.1 to v0.3.3 more)"},
        {u"0.3.3", u"0.3.3(need to upgrade from 0.3.3 to v0.3.3 more)"},
        {u"0.1.2", u"0.1.2(need to upgrade from 0.1.2 to v0.3.3 more)"},
        {u"0.3.0", u"0.3.0(need to upgrade from 0.3.0 to v0.3.3 more)"},
        {u"0.2.9", u"0.2.9"},
        {u"0.3.4", u"0.3.4"},
        {u"1.0.0", u"1.0.0"},
        {u"1.2.10", u"1.2.10"},
        {u"1..2.3", u"1..2.3"},
        {u"-1.2.3", u"-1.2.3(need to upgrade from -1.2.3 to v0.3.3 more)"},
        {u"1.2.3.4", u"N/A"},
        {u"2.0", u"N/A"},
        {u".0", u"N/A"},
        {u"", u"N/A"},
    };
    for (const auto& [version, cell] : cases) EXPECT_EQ(rules::versionCell(version), cell);
}

TEST(FieldCell, EmptyIsNotAvailable) {
    EXPECT_EQ(rules::fieldCell(u""), u"N/A");
    EXPECT_EQ(rules::fieldCell(u"Lobby"), u"Lobby");
}

}  // namespace
