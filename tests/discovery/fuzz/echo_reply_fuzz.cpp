// The echo-reply parser on arbitrary datagrams, as a raw socket hands them
// over (IPv4 header first) and as a datagram socket does (the ICMP message
// alone). Every field it reports must be the byte at its offset, computed
// here from the input on its own; a datagram too short to carry every field
// the probe reads, or whose header length is impossible, is no reply.
#include <cstring>
#include <memory>

#include "echo_probe.h"
#include "fuzz_input.h"

namespace {

constexpr size_t IP_HEADER_MIN = 20;
constexpr size_t ECHO_FIELDS = 16;  // type, code, checksum, identifier, sequence, zero, tick
constexpr uint8_t TOO_SHORT = 0xff;

uint32_t littleEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// What the bytes say, worked out without the parser.
zelk::EchoReply expected(const uint8_t* data, size_t size, bool withIpHeader) {
    zelk::EchoReply reply;
    size_t message = 0;
    if (withIpHeader) {
        if (size < IP_HEADER_MIN) return reply;
        reply.ttl = data[8];
        message = static_cast<size_t>(data[0] & 0x0f) * 4;
        if (message < IP_HEADER_MIN) return reply;
    }
    if (size < message + ECHO_FIELDS) return reply;
    reply.type = data[message];
    reply.identifier = {data[message + 4], data[message + 5]};
    reply.sequence = {data[message + 6], data[message + 7]};
    reply.tick = littleEndian32(data + message + 12);
    return reply;
}

void checkSame(const zelk::EchoReply& got, const zelk::EchoReply& want) {
    FUZZ_CHECK(got.type == want.type);
    FUZZ_CHECK(got.ttl == want.ttl);
    FUZZ_CHECK(got.identifier == want.identifier);
    FUZZ_CHECK(got.sequence == want.sequence);
    FUZZ_CHECK(got.tick == want.tick);
    FUZZ_CHECK(got.source.s_addr == 0);  // the caller's to fill
}

// A copy of exactly `size` bytes, so that AddressSanitizer sees any read past the datagram.
zelk::EchoReply parseExact(const uint8_t* data, size_t size, bool withIpHeader) {
    const std::unique_ptr<uint8_t[]> copy(new uint8_t[size]);
    if (size > 0) std::memcpy(copy.get(), data, size);
    return zelk::parseEchoReply(copy.get(), size, withIpHeader);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const bool withIpHeader : {true, false}) {
        const zelk::EchoReply got = parseExact(data, size, withIpHeader);
        checkSame(got, expected(data, size, withIpHeader));
        if (got.type != TOO_SHORT) FUZZ_CHECK(size >= (withIpHeader ? IP_HEADER_MIN : 0) + ECHO_FIELDS);
    }

    // The same message behind a valid IPv4 header, with or without options,
    // reads as it does alone, with the header's TTL.
    const size_t headerWords = 5 + size % 11;
    const size_t headerSize = headerWords * 4;
    const std::unique_ptr<uint8_t[]> framed(new uint8_t[headerSize + size]);
    std::memset(framed.get(), 0x01, headerSize);  // NOP options
    framed[0] = static_cast<uint8_t>(0x40 | headerWords);
    framed[8] = 37;
    if (size > 0) std::memcpy(framed.get() + headerSize, data, size);
    zelk::EchoReply alone = parseExact(data, size, false);
    alone.ttl = 37;
    checkSame(parseExact(framed.get(), headerSize + size, true), alone);
    return 0;
}
