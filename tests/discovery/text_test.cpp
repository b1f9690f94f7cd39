#include <gtest/gtest.h>

#include <cstring>

#include "text.h"

namespace {

struct SplitCase {
    std::u16string text;
    std::vector<std::u16string> tokens;
};

TEST(SplitText, RunsOfDelimitersAreOneSeparator) {
    const SplitCase cases[] = {
        {u"1.2.3", {u"1", u"2", u"3"}},
        {u"..1..2.", {u"1", u"2"}},
        {u"no dots", {u"no dots"}},
        {u"", {}},
        {u"...", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::u16string> tokens{u"stale"};
        EXPECT_EQ(zelk::splitText(c.text, u".", tokens), static_cast<int>(c.tokens.size()));
        EXPECT_EQ(tokens, c.tokens);
    }
}

TEST(SplitText, AnyOfSeveralDelimiters) {
    std::vector<std::u16string> tokens;
    EXPECT_EQ(zelk::splitText(u"a-b.c", u".-", tokens), 3);
}

TEST(WidenText, EachByteBecomesTheCodeUnitOfTheSameValue) {
    EXPECT_EQ(zelk::widenText(""), u"");
    EXPECT_EQ(zelk::widenText("A\x80\xe9\xff"), std::u16string(u"A\u0080\u00e9\u00ff"));
    EXPECT_EQ(zelk::narrowText(zelk::widenText("A\x80\xff")), "A\x80\xff");
}

TEST(Fields, TextIsBoundedByItsField) {
    char field[4];
    std::memset(field, 'x', sizeof field);  // no zero inside
    EXPECT_EQ(zelk::fieldText(field), "xxxx");

    zelk::setField(field, "abcdef");
    EXPECT_EQ(zelk::fieldText(field), "abc");
    EXPECT_EQ(field[3], '\0');
    zelk::setField(field, "a");
    EXPECT_EQ(std::string(field, 4), std::string("a\0\0\0", 4));
}

}  // namespace
