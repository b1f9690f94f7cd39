#include "device_table.h"

#include <functional>
#include <utility>

namespace zelk {

DeviceTable g_deviceTable{};

namespace {
int g_lastSearchCount = 0;
// Beside the table, whose records keep the layout the replies give them.
ReplyAdapter g_replyAdapters[ZELK_MAX_DEVICES];
}  // namespace

const DeviceRecord* deviceRecord(int index) {
    if (index < 0 || index >= g_lastSearchCount) return nullptr;
    return &g_deviceTable.records[index];
}

void setReplyAdapter(int index, ReplyAdapter adapter) {
    if (index >= 0 && index < ZELK_MAX_DEVICES) g_replyAdapters[index] = std::move(adapter);
}

const ReplyAdapter* replyAdapter(const DeviceRecord* camera) {
    const DeviceRecord* first = g_deviceTable.records;
    if (std::less<>{}(camera, first) || !std::less<>{}(camera, first + g_lastSearchCount)) return nullptr;
    return &g_replyAdapters[camera - first];
}

void setLastSearchCount(int count) { g_lastSearchCount = count; }

}  // namespace zelk
