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
