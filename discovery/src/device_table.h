// The library's table of the cameras that answered the last search.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>

#include "packet.h"
#include "zelk.h"

namespace zelk {

inline constexpr int SLOT_COUNT = 4;
inline constexpr int SLOT_SIZE = 128;
inline constexpr int SLOT_VERSION = 0;
inline constexpr int SLOT_NAME = 1;
inline constexpr int SLOT_MODEL = 2;

struct ItemSlot {
    int owner;
    uint32_t type;
    char value[SLOT_SIZE];
};

struct DeviceRecord {
    uint8_t header[IDCP_HEADER_SIZE];
    uint8_t network[NETWORK_ITEM_SIZE];
    uint8_t account[ACCOUNT_ITEM_SIZE];
    char rtspUrl1[255];
    char rtspUrl2[255];
    char rtspUrl3[255];
    char webUrl[128];
    ItemSlot slots[SLOT_COUNT];
};

struct DeviceTable {
    DeviceRecord records[ZELK_MAX_DEVICES];
    int count;
    int slotCursor;
    bool full;  // a camera was turned away because every record was taken
};

extern DeviceTable g_deviceTable;

// The record of camera `index` of the last search, or null when the last
// search found no such camera.
const DeviceRecord* deviceRecord(int index);

// The workstation's adapter a camera's reply arrived on.
struct ReplyAdapter {
    unsigned index = 0;  // interface index; 0 when the system did not say
    std::string name;    // the interface's name when the reply arrived
    in_addr address{};   // the workstation's address on it
};

// Remembers the adapter of the record stored at `index` by the current search.
void setReplyAdapter(int index, ReplyAdapter adapter);

// The adapter `camera` answered on, or null when it is no camera of the last search.
const ReplyAdapter* replyAdapter(const DeviceRecord* camera);

// Sets the number of cameras the last completed search listed.
void setLastSearchCount(int count);

}  // namespace zelk
