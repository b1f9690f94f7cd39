#include "parse_packet.h"

#include <algorithm>
#include <cstring>

#include "device_table.h"
#include "packet.h"
#include "trace.h"

namespace zelk {

namespace {

void copyBounded(void* field, size_t fieldSize, const IdcpItem& item) {
    std::memcpy(field, item.value, std::min<size_t>(fieldSize, item.length));
}

bool sameCamera(const DeviceRecord& a, const DeviceRecord& b) {
    return std::memcmp(a.network + NET_IP, b.network + NET_IP, 4) == 0 &&
           std::memcmp(a.network + NET_MAC, b.network + NET_MAC, 6) == 0;
}

// Reads the reply's items into `record`; false when the reply is malformed.
bool readItems(const uint8_t* data, int length, int itemCount, int index, DeviceRecord& record) {
    ItemReader reader(data, length);
    int& slotCursor = g_deviceTable.slotCursor;
    slotCursor = 0;
    for (int i = 0; i < itemCount; ++i) {
        IdcpItem item;
        if (!reader.next(item)) return false;
        if (item.type == ITEM_NETWORK) {
            if (item.length < NETWORK_ITEM_SIZE) return false;
            std::memcpy(record.network, item.value, NETWORK_ITEM_SIZE);
            continue;
        }
        // Only the first slots are ever read; later items still reach their own fields.
        if (slotCursor < SLOT_COUNT) {
            ItemSlot& slot = record.slots[slotCursor];
            slot.owner = index;
            slot.type = item.type;
            std::memset(slot.value, 0, sizeof slot.value);
            copyBounded(slot.value, sizeof slot.value, item);
        }
        ++slotCursor;
        switch (item.type) {
        case ITEM_ACCOUNT:
            if (item.length < ACCOUNT_ITEM_SIZE) return false;
            std::memcpy(record.account, item.value, ACCOUNT_ITEM_SIZE);
            break;
        case ITEM_RTSP_URL1: copyBounded(record.rtspUrl1, sizeof record.rtspUrl1, item); break;
        case ITEM_RTSP_URL2: copyBounded(record.rtspUrl2, sizeof record.rtspUrl2, item); break;
        case ITEM_RTSP_URL3: copyBounded(record.rtspUrl3, sizeof record.rtspUrl3, item); break;
        case ITEM_WEB_URL: copyBounded(record.webUrl, sizeof record.webUrl, item); break;
        default: break;
        }
    }
    return true;
}

}  // namespace

int _parsePacket(const uint8_t* data, int length) {
    if (length < IDCP_HEADER_SIZE) {
        debugTrace("[size into _parsePacket] Can not receive equal packet size\n");
        return ZELK_ERR_PACKET_SIZE;
    }
    debugTrace("[size into _parsePacket] Can receive equal packet size\n");
    const IdcpHeader header = decodeHeader(data);
    if (header.marker != IDCP_MARK) {
        debugTrace("[p->marker into _parsePacket] Can not equal IDCP_MARK\n");
        return ZELK_ERR_MARKER;
    }
    debugTrace("[p->marker into _parsePacket] Can equal IDCP_MARK\n");
    if (header.command != CMD_REPLY) return ZELK_OK;

    DeviceTable& table = g_deviceTable;
    const int index = table.count;
    // A cleared record: a camera never shows what an earlier camera left at its index.
    DeviceRecord record{};
    std::memcpy(record.header, data, IDCP_HEADER_SIZE);
    if (!readItems(data, length, header.itemCount, index, record)) {
        debugTrace("[item into _parsePacket] Can not read items within packet\n");
        return ZELK_ERR_MALFORMED;
    }
    // A camera answering again keeps its first reply, so repeats never crowd out other cameras.
    for (int i = 0; i < table.count; ++i) {
        if (sameCamera(table.records[i], record)) return ZELK_OK;
    }
    if (table.count >= ZELK_MAX_DEVICES) {
        debugTrace("[count into _parsePacket] Can not store more cameras, the table is full\n");
        table.full = true;
        return ZELK_OK;
    }
    table.records[index] = record;
    table.count = index + 1;
    return ZELK_OK;
}

}  // namespace zelk
