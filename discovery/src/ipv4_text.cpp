#include "ipv4_text.h"

#include <arpa/inet.h>

#include <cstring>
#include <string>

#include "text.h"

namespace zelk {

std::optional<std::array<uint8_t, 4>> dottedAddress(const char* text, size_t size) {
    const std::string bounded = fieldText(text, size);
    in_addr address{};
    if (inet_pton(AF_INET, bounded.c_str(), &address) != 1) return std::nullopt;
    std::array<uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &address, 4);
    return bytes;
}

}  // namespace zelk
