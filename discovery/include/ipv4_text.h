// Dotted IPv4 address texts of the configuration commands.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace zelk {

// The four bytes, in network order, of a text "a.b.c.d" with each part a
// decimal number 0..255 (inet_pton's rules), read no further than `size`
// bytes. Nothing for anything else: a typo must never become 255.255.255.255.
std::optional<std::array<uint8_t, 4>> dottedAddress(const char* text, size_t size);

template <size_t N>
std::optional<std::array<uint8_t, 4>> dottedAddress(const char (&field)[N]) {
    return dottedAddress(field, N);
}

}  // namespace zelk
