#include "version_cell.h"

#include <vector>

#include "text.h"

namespace rules {

namespace {

// Reads a piece as a decimal integer the way the C library's wcstol does:
// leading white space, an optional sign, then digits up to the first other character.
long leadingNumber(const std::u16string& piece) {
    size_t i = 0;
    while (i < piece.size() && (piece[i] == u' ' || (piece[i] >= u'\t' && piece[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == u'+' || piece[i] == u'-')) negative = piece[i++] == u'-';
    long value = 0;
    for (; i < piece.size() && piece[i] >= u'0' && piece[i] <= u'9'; ++i) {
        if (value < 100000000) value = value * 10 + (piece[i] - u'0');
    }
    return negative ? -value : value;
}

}  // namespace

std::u16string versionCell(std::u16string_view version) {
    std::vector<std::u16string> pieces;
    if (zelk::splitText(std::u16string(version), u".", pieces) != 3) return u"N/A";
    const std::u16string text(version);
    if (leadingNumber(pieces[0]) <= 0 && leadingNumber(pieces[1]) <= 3 && leadingNumber(pieces[2]) <= 3)
        return text + u"(need to upgrade from " + text + u" to v0.3.3 more)";
    return text;
}

std::u16string fieldCell(std::u16string_view text) { return text.empty() ? u"N/A" : std::u16string(text); }

}  // namespace rules
