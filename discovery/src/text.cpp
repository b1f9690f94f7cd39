#include "text.h"

#include <cstring>

namespace zelk {

std::u16string widenText(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::string narrowText(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t c : text) narrow.push_back(static_cast<char>(c & 0xFF));
    return narrow;
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` (0
// when there is none) and its code point. Overlong forms, surrogates and
// values past U+10FFFF are not well-formed.
size_t utf8Sequence(std::string_view text, char32_t& codePoint) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

template <typename Emit>
void decodeCameraText(std::string_view bytes, Emit emit) {
    while (!bytes.empty()) {
        char32_t codePoint = static_cast<unsigned char>(bytes[0]);
        size_t length = codePoint < 0x80 ? 1 : utf8Sequence(bytes, codePoint);
        if (length == 0) {
            codePoint = static_cast<unsigned char>(bytes[0]);
            length = 1;
        }
        emit(codePoint, bytes.substr(0, length));
        bytes.remove_prefix(length);
    }
}

}  // namespace

std::string cameraText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    decodeCameraText(bytes, [&](char32_t codePoint, std::string_view sequence) {
        if (codePoint < 0x80 || sequence.size() > 1) {
            text.append(sequence);
        } else {  // a Latin-1 character of U+0080 to U+00FF
            text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
            text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
        }
    });
    return text;
}

std::u16string cameraTextWide(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    decodeCameraText(bytes, [&](char32_t codePoint, std::string_view) {
        if (codePoint < 0x10000) {
            text.push_back(static_cast<char16_t>(codePoint));
        } else {
            text.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        }
    });
    return text;
}

int splitText(std::u16string text, std::u16string delimiters, std::vector<std::u16string>& tokens) {
    tokens.clear();
    size_t pos = text.find_first_not_of(delimiters);
    while (pos != std::u16string::npos) {
        size_t end = text.find_first_of(delimiters, pos);
        tokens.push_back(text.substr(pos, end == std::u16string::npos ? end : end - pos));
        pos = end == std::u16string::npos ? end : text.find_first_not_of(delimiters, end);
    }
    return static_cast<int>(tokens.size());
}

std::string fieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

void setField(char* field, size_t size, std::string_view text) {
    if (size == 0) return;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

}  // namespace zelk
