// What every harness shares: taking its input apart, and a property check
// that stops the run (libFuzzer and the standalone main both report it).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__,     \
                         #condition);                                                           \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)

// Reads the input front to back; past its end every read gives zeros or nothing.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }

    uint8_t u8() { return empty() ? 0 : data_[pos_++]; }

    uint16_t u16() {
        const uint16_t low = u8();
        return static_cast<uint16_t>(low | (u8() << 8));
    }

    std::string bytes(size_t count) {
        count = std::min(count, size_ - std::min(pos_, size_));
        std::string out(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};
