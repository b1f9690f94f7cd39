#include "device_table.h"

namespace zelk {

DeviceTable g_deviceTable{};

namespace {
int g_lastSearchCount = 0;
}

const DeviceRecord* deviceRecord(int index) {
    if (index < 0 || index >= g_lastSearchCount) return nullptr;
    return &g_deviceTable.records[index];
}

void setLastSearchCount(int count) { g_lastSearchCount = count; }

}  // namespace zelk
