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

struct CameraTextCase {
    const char* what;
    std::string bytes;
    std::string utf8;
};

// Cameras send UTF-8 or Latin-1; whatever is not well-formed UTF-8 is Latin-1.
TEST(CameraText, WellFormedUtf8StaysEveryOtherByteIsLatin1) {
    const CameraTextCase cases[] = {
        {"ASCII", "Lobby 1", "Lobby 1"},
        {"empty", "", ""},
        {"Latin-1 before a space", "Caf\xe9 Bar", "Caf\xc3\xa9 Bar"},
        {"Latin-1 password", "p\xe4sswort", "p\xc3\xa4sswort"},
        {"UTF-8 stays", "Caf\xc3\xa9", "Caf\xc3\xa9"},
        {"four-byte UTF-8 stays", "\xf0\x9f\x93\xb7", "\xf0\x9f\x93\xb7"},
        {"sequence cut at the end", "\xe2\x82", "\xc3\xa2\xc2\x82"},
        {"sequence cut by ASCII", "\xe2\x82x", "\xc3\xa2\xc2\x82x"},
        {"lone continuation bytes", "\x80\xbf", "\xc2\x80\xc2\xbf"},
        {"overlong slash", "\xc0\xaf", "\xc3\x80\xc2\xaf"},
        {"encoded surrogate", "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},
        {"past U+10FFFF", "\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"},
        {"bytes never in UTF-8", "\xff\xfe", "\xc3\xbf\xc3\xbe"},
        {"UTF-8 next to Latin-1", "\xc3\xa9\xe9", "\xc3\xa9\xc3\xa9"},
        {"control and JSON-special bytes stay", "\x1b[2J\"\\\n", "\x1b[2J\"\\\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zelk::cameraText(c.bytes), c.utf8) << c.what;
        EXPECT_EQ(zelk::cameraText(c.utf8), c.utf8) << c.what << ": the decoding of its own output";
        EXPECT_EQ(zelk::cameraTextWide(c.bytes), zelk::cameraTextWide(c.utf8)) << c.what;
    }
}

TEST(CameraText, WideFormHasTheSameCharacters) {
    EXPECT_EQ(zelk::cameraTextWide("p\xe4sswort"), u"p\u00e4sswort");
    EXPECT_EQ(zelk::cameraTextWide("p\xc3\xa4sswort"), u"p\u00e4sswort");
    EXPECT_EQ(zelk::cameraTextWide("\xf0\x9f\x93\xb7"), u"\U0001F4F7");
    EXPECT_EQ(zelk::cameraTextWide("\xed\xa0\x80"), u"\u00ed\u00a0\u0080");
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
