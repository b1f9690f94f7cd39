// Text helpers shared by the library and the window code.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// Widens 8-bit text to UTF-16, each byte to the code unit of the same value.
std::u16string widenText(std::string_view text);

// The inverse of widenText: each code unit's low byte.
std::string narrowText(std::u16string_view text);

// A camera's 8-bit text as valid UTF-8, without loss: well-formed UTF-8
// sequences stay as they are, every other byte becomes the Latin-1
// character of its value. Cameras send either encoding, and the JSON
// writer would otherwise read stray bytes as the start of a sequence and
// swallow the bytes after them. Valid UTF-8 comes back unchanged.
std::string cameraText(std::string_view bytes);

// The same decoding as UTF-16, for comparing with what a user typed.
std::u16string cameraTextWide(std::string_view bytes);

// Splits `text` at any of `delimiters`; runs of delimiters are one separator
// and no empty token is produced. Replaces `tokens`, returns their number.
int splitText(std::u16string text, std::u16string delimiters, std::vector<std::u16string>& tokens);

// The text of a fixed-width field: its bytes up to the first zero, never past the field.
std::string fieldText(const char* field, size_t size);

template <size_t N>
std::string fieldText(const char (&field)[N]) {
    return fieldText(field, N);
}

// Copies `text` into a fixed-width field, cut to size - 1 bytes, zero-filled after it.
void setField(char* field, size_t size, std::string_view text);

template <size_t N>
void setField(char (&field)[N], std::string_view text) {
    setField(field, N, text);
}

}  // namespace zelk
