#include "terminal_text.h"

#include <clocale>
#include <cstdio>
#include <cwchar>

namespace cli {

namespace {

void appendEscaped(std::string& out, unsigned char byte) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", byte);
    out += hex;
}

// The length of the valid UTF-8 sequence at text[i] that is no control
// character, or 0.
size_t printableSequence(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead >= 0x20 && lead < 0x7f) return 1;
    size_t length = 0;
    unsigned int low = 0x80, high = 0xbf;  // the allowed range of the second byte
    if (lead >= 0xc2 && lead <= 0xdf) length = 2;
    else if (lead >= 0xe0 && lead <= 0xef) length = 3, low = lead == 0xe0 ? 0xa0 : 0x80, high = lead == 0xed ? 0x9f : 0xbf;
    else if (lead >= 0xf0 && lead <= 0xf4) length = 4, low = lead == 0xf0 ? 0x90 : 0x80, high = lead == 0xf4 ? 0x8f : 0xbf;
    else return 0;
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xbf) return 0;
    }
    if (lead == 0xc2 && byte(i + 1) < 0xa0) return 0;  // U+0080..U+009F, the C1 controls
    return length;
}

}  // namespace

std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = printableSequence(text, i);
        if (length == 0) {
            appendEscaped(out, static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

size_t terminalColumns(std::string_view text) {
    // The widths come from the C library's UTF-8 table, whatever the user's locale.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    const locale_t previous = utf8 ? uselocale(utf8) : locale_t{};
    size_t columns = 0;
    std::mbstate_t state{};
    for (size_t i = 0; i < text.size();) {
        wchar_t character = 0;
        const size_t length = utf8 ? std::mbrtowc(&character, text.data() + i, text.size() - i, &state) : 1;
        if (length == 0 || length > text.size() - i) {  // not UTF-8 after all: a column per byte
            ++columns;
            ++i;
            state = std::mbstate_t{};
            continue;
        }
        const int width = utf8 ? wcwidth(character) : 1;
        columns += width < 0 ? 1 : static_cast<size_t>(width);
        i += length;
    }
    if (utf8) uselocale(previous);
    return columns;
}

}  // namespace cli
