// The caller's records and the scan document, made from the table.
#pragma once

#include "device_table.h"
#include "zelk.h"

namespace zelk {

// Turns the table into the caller's records and the scan document.
// Returns 0, or -20104 when the document and its zero do not fit in
// *textLength bytes; then nothing is written.
int _generatePacketInfo(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText);

// The caller's record of one camera, from its record in the table.
void fillDeviceInfo(const DeviceRecord& record, DeviceInfo& info);

}  // namespace zelk
