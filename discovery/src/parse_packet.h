// Reading one received datagram into the table of the last search.
#pragma once

#include <cstdint>

namespace zelk {

// Validates one received datagram and stores it when it is a search reply.
int _parsePacket(const uint8_t* data, int length);

}  // namespace zelk
