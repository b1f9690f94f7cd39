// Wire format: the 28-byte header and the type-length-value items.
// Every multi-byte field is little-endian whatever the host.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelk {

inline constexpr uint32_t IDCP_MARK = 0x50444350;
inline constexpr uint16_t IDCP_PORT = 50444;
inline constexpr int IDCP_HEADER_SIZE = 28;
inline constexpr int IDCP_RECV_SIZE = 1024;

inline constexpr uint32_t CMD_PROBE = 0;
inline constexpr uint32_t CMD_REPLY = 1;
inline constexpr uint32_t CMD_SET = 2;
inline constexpr uint32_t CMD_MULTI_SET = 0x10000002;

inline constexpr uint16_t ITEM_NAME = 1;
inline constexpr uint16_t ITEM_NETWORK = 2;
inline constexpr uint16_t ITEM_ACCOUNT = 4;
inline constexpr uint16_t ITEM_RTSP_URL1 = 6;
inline constexpr uint16_t ITEM_RTSP_URL2 = 7;
inline constexpr uint16_t ITEM_RTSP_URL3 = 0xE007;
inline constexpr uint16_t ITEM_WEB_URL = 8;
inline constexpr uint16_t ITEM_FACTORY_DEFAULT = 0x1001;

inline constexpr int NETWORK_ITEM_SIZE = 24;
inline constexpr int ACCOUNT_ITEM_SIZE = 388;
inline constexpr int ACCOUNT_PASSWORD_OFFSET = 128;
inline constexpr int TARGET_ID_SIZE = 8;

// Offsets inside the network item's value.
inline constexpr int NET_MAC = 0;
inline constexpr int NET_IP = 8;
inline constexpr int NET_MASK = 12;
inline constexpr int NET_GATEWAY = 16;
inline constexpr int NET_DHCP = 20;

struct IdcpHeader {
    uint32_t marker = IDCP_MARK;
    uint32_t command = 0;
    std::array<uint8_t, 8> sender{};
    std::array<uint8_t, 8> target{};
    int32_t itemCount = 0;
};

struct IdcpItem {
    uint16_t type = 0;
    uint16_t length = 0;
    const uint8_t* value = nullptr;
};

uint16_t readU16(const uint8_t* p);
uint32_t readU32(const uint8_t* p);
void writeU16(uint8_t* p, uint16_t v);
void writeU32(uint8_t* p, uint32_t v);

// `data` must hold at least IDCP_HEADER_SIZE bytes.
IdcpHeader decodeHeader(const uint8_t* data);

// Builds a datagram front to back.
class PacketWriter {
public:
    void header(const IdcpHeader& h);
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void raw(const void* data, size_t size);
    void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    // Copies at most `size` bytes of `text` up to its zero, then pads with zeros to `size`.
    void text(const char* text, size_t size);
    void item(uint16_t type, const void* value, uint16_t length);
    void itemHead(uint16_t type, uint16_t length);
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Walks the items that follow a header, never past the datagram's end.
class ItemReader {
public:
    ItemReader(const uint8_t* data, int length);
    // False when no item is left; sets overrun() when an item would pass the end.
    bool next(IdcpItem& item);
    bool overrun() const { return overrun_; }

private:
    const uint8_t* data_;
    int length_;
    int pos_ = IDCP_HEADER_SIZE;
    bool overrun_ = false;
};

// The 28-byte search request.
std::array<uint8_t, IDCP_HEADER_SIZE> buildProbe();

}  // namespace zelk
