#include "packet.h"

#include <cstring>

namespace zelk {

uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void writeU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void writeU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

IdcpHeader decodeHeader(const uint8_t* data) {
    IdcpHeader h;
    h.marker = readU32(data);
    h.command = readU32(data + 4);
    std::memcpy(h.sender.data(), data + 8, 8);
    std::memcpy(h.target.data(), data + 16, 8);
    h.itemCount = static_cast<int32_t>(readU32(data + 24));
    return h;
}

void PacketWriter::header(const IdcpHeader& h) {
    u32(h.marker);
    u32(h.command);
    raw(h.sender.data(), h.sender.size());
    raw(h.target.data(), h.target.size());
    u32(static_cast<uint32_t>(h.itemCount));
}

void PacketWriter::u16(uint16_t v) {
    uint8_t b[2];
    writeU16(b, v);
    raw(b, 2);
}

void PacketWriter::u32(uint32_t v) {
    uint8_t b[4];
    writeU32(b, v);
    raw(b, 4);
}

void PacketWriter::raw(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
}

void PacketWriter::text(const char* text, size_t size) {
    size_t n = strnlen(text, size);
    raw(text, n);
    zeros(size - n);
}

void PacketWriter::itemHead(uint16_t type, uint16_t length) {
    u16(type);
    u16(length);
}

void PacketWriter::item(uint16_t type, const void* value, uint16_t length) {
    itemHead(type, length);
    raw(value, length);
}

ItemReader::ItemReader(const uint8_t* data, int length) : data_(data), length_(length) {}

bool ItemReader::next(IdcpItem& item) {
    if (overrun_) return false;
    if (pos_ + 4 > length_) {
        overrun_ = true;
        return false;
    }
    item.type = readU16(data_ + pos_);
    item.length = readU16(data_ + pos_ + 2);
    if (pos_ + 4 + item.length > length_) {
        overrun_ = true;
        return false;
    }
    item.value = data_ + pos_ + 4;
    pos_ += 4 + item.length;
    return true;
}

std::array<uint8_t, IDCP_HEADER_SIZE> buildProbe() {
    PacketWriter w;
    IdcpHeader h;
    h.command = CMD_PROBE;
    w.header(h);
    std::array<uint8_t, IDCP_HEADER_SIZE> probe{};
    std::memcpy(probe.data(), w.bytes().data(), probe.size());
    return probe;
}

}  // namespace zelk
