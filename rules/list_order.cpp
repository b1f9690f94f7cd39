#include "list_order.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <optional>
#include <vector>

namespace rules {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The runs of digits of `text`, as numbers; long runs saturate instead of overflowing.
std::vector<uint64_t> numbersIn(std::u16string_view text) {
    std::vector<uint64_t> numbers;
    bool inNumber = false;
    for (char16_t c : text) {
        if (!isDigit(c)) {
            inNumber = false;
            continue;
        }
        if (!inNumber) numbers.push_back(0);
        inNumber = true;
        uint64_t& n = numbers.back();
        n = n > UINT64_MAX / 20 ? n : n * 10 + static_cast<uint64_t>(c - u'0');
    }
    return numbers;
}

// An address as one number; none unless it is four decimal parts of 0 to 255.
std::optional<uint32_t> addressNumber(std::u16string_view text) {
    uint32_t value = 0;
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        size_t digits = 0;
        uint32_t part = 0;
        while (i < text.size() && isDigit(text[i]) && digits < 4) {
            part = part * 10 + static_cast<uint32_t>(text[i++] - u'0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || part > 255) return std::nullopt;
        value = value << 8 | part;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != u'.') return std::nullopt;
            ++i;
        }
    }
    if (i != text.size()) return std::nullopt;
    return value;
}

// A version cell's numbers: those of the version, not of the upgrade note after it.
std::optional<std::vector<uint64_t>> versionNumbers(std::u16string_view cell) {
    const std::vector<uint64_t> numbers = numbersIn(cell.substr(0, cell.find(u'(')));
    if (numbers.empty()) return std::nullopt;
    return numbers;
}

int compareFolded(std::u16string_view a, std::u16string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ca = std::towlower(static_cast<wint_t>(a[i]));
        const auto cb = std::towlower(static_cast<wint_t>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Numbers first, in their order; cells without one after them, by their text.
template <typename Key>
bool before(const std::optional<Key>& ka, const std::optional<Key>& kb, std::u16string_view a,
            std::u16string_view b) {
    if (ka && kb && *ka != *kb) return *ka < *kb;
    if (ka.has_value() != kb.has_value()) return ka.has_value();
    return compareFolded(a, b) < 0;
}

}  // namespace

bool cellBefore(ListColumn column, std::u16string_view a, std::u16string_view b) {
    switch (column) {
    case ListColumn::IpAddress:
        return before(addressNumber(a), addressNumber(b), a, b);
    case ListColumn::FirmwareVersion:
        return before(versionNumbers(a), versionNumbers(b), a, b);
    default:
        return compareFolded(a, b) < 0;
    }
}

}  // namespace rules
