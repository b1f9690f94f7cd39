// Camera texts on the terminal: what is escaped and what is kept.
#include <gtest/gtest.h>

#include "terminal_text.h"

namespace {

TEST(TerminalText, EscapesControlsAndBrokenUtf8AndKeepsTheRest) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"Lobby 2", "Lobby 2"},
        {"\x1b[2J", "\\x1b[2J"},
        {"two\nlines\r\t", "two\\x0alines\\x0d\\x09"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"del\x7f", "del\\x7f"},
        {"Caf\xc3\xa9 \xe6\x9d\xb1 \xf0\x9f\x93\xb7", "Caf\xc3\xa9 \xe6\x9d\xb1 \xf0\x9f\x93\xb7"},  // é, a CJK sign, an emoji
        {"\xc2\x9b" "2J", "\\xc2\\x9b2J"},           // U+009B, the one-character CSI
        {"\x9b" "2J", "\\x9b2J"},                     // a lone continuation byte
        {"Caf\xe9", "Caf\\xe9"},                      // Latin-1, not UTF-8
        {"\xc0\xaf", "\\xc0\\xaf"},                   // an overlong '/'
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},          // a surrogate
        {"cut \xe6\x9d", "cut \\xe6\\x9d"},           // a sequence cut short at the end
    };
    for (const auto& c : cases) EXPECT_EQ(cli::terminalText(c.in), c.out) << c.out;
}

TEST(TerminalText, ColumnsCountCharactersAsTheTerminalDraws) {
    const struct {
        std::string text;
        size_t columns;
    } cases[] = {
        {"", 0},
        {"Lobby 2", 7},
        {"Caf\xc3\xa9", 4},                        // é: two bytes, one column
        {"\xe6\x9d\xb1\xe4\xba\xac", 4},           // two CJK signs, two columns each
        {"cam \xf0\x9f\x93\xb7", 6},                // an emoji is wide
        {"e\xcc\x81", 1},                           // a combining accent takes none
        {"\\xe9", 4},                               // an escaped byte as terminalText writes it
        {"\xff", 1},                                // a stray byte: a column
    };
    for (const auto& c : cases) EXPECT_EQ(cli::terminalColumns(c.text), c.columns) << c.text;
}

}  // namespace
