// Feeds arbitrary datagrams to the reply parser and builds the scan document
// from whatever it stored.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device_table.h"
#include "parse_packet.h"
#include "scan_document.h"
#include "trace.h"
#include "zelk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<DeviceInfo> devices(ZELK_MAX_DEVICES);
    static std::vector<char> text(ZELK_SCAN_TEXT_SIZE);
    static const bool silenced = (zelk::setTraceSink([](std::string_view) {}), true);
    (void)silenced;

    zelk::g_deviceTable.count = 0;
    // The same bytes twice: the second reply must be recognised as the same camera.
    for (int copy = 0; copy < 2; ++copy) zelk::_parsePacket(data, static_cast<int>(size));
    int count = 0;
    int textLength = static_cast<int>(text.size());
    zelk::_generatePacketInfo(&count, devices.data(), &textLength, text.data());
    return 0;
}
