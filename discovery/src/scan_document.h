// The caller's records and the scan document, made from the table.
#pragma once

#include "zelk.h"

namespace zelk {

// Turns the table into the caller's records and the scan document.
// Returns 0, or -20104 when the document and its zero do not fit in
// *textLength bytes; then nothing is written.
int _generatePacketInfo(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText);

}  // namespace zelk
