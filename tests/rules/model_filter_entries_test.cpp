#include "model_filter_entries.h"

#include <gtest/gtest.h>

TEST(ModelFilterEntries, EachModelOnceAndTheFirstCameraAlways) {
    using Entries = std::vector<std::u16string>;
    EXPECT_EQ(rules::modelFilterEntries({u"A", u"", u"A"}), (Entries{u"None", u"All", u"A"}));
    EXPECT_EQ(rules::modelFilterEntries({u"A", u"B", u"A"}), (Entries{u"None", u"All", u"A", u"B"}));
    EXPECT_EQ(rules::modelFilterEntries({u"", u"B", u""}), (Entries{u"None", u"All", u"", u"B"}));
    EXPECT_EQ(rules::modelFilterEntries({u"a", u"A"}), (Entries{u"None", u"All", u"a", u"A"}));
    EXPECT_EQ(rules::modelFilterEntries({}), (Entries{u"None", u"All"}));
}
