#include "network_info.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "local_interfaces.h"
#include "trace.h"
#include "zelk.h"

namespace zelk {

namespace {

struct Adapter {
    unsigned index;
    unsigned char address[8];  // zero-filled past the hardware address
};

// Every adapter but loopback, in index order; no limit on how many.
bool readAdapters(std::vector<Adapter>& adapters) {
    for (const LocalInterface& entry : listLocalInterfaces()) {
        if (entry.ipv4 || entry.loopback()) continue;
        Adapter a{entry.index, {}};
        std::memcpy(a.address, entry.hardware.data(), std::min(entry.hardware.size(), sizeof a.address));
        adapters.push_back(a);
    }
    std::sort(adapters.begin(), adapters.end(), [](const Adapter& a, const Adapter& b) { return a.index < b.index; });
    return !adapters.empty();
}

// Interface names say nothing of the hardware; the vendor part of the
// hardware address tells a virtual machine's adapter.
bool isVirtualMachineAdapter(const Adapter& a) {
    static constexpr unsigned char VENDORS[][3] = {
        {0x00, 0x05, 0x69}, {0x00, 0x0c, 0x29}, {0x00, 0x1c, 0x14}, {0x00, 0x50, 0x56}};
    return std::any_of(std::begin(VENDORS), std::end(VENDORS),
                       [&](const unsigned char* vendor) { return std::memcmp(a.address, vendor, 3) == 0; });
}

}  // namespace

int _getNetworkInfo(char* senderText) {
    std::vector<Adapter> adapters;
    if (!readAdapters(adapters)) {
        debugTrace("[dwRetVal into _getNetworkInfo] Can not find adapter\n");
        return ZELK_ERR_ADAPTER;
    }
    debugTrace("[dwRetVal into _getNetworkInfo] Can find adapter\n");
    for (const Adapter& a : adapters) {
        debugTrace(isVirtualMachineAdapter(a) ? "[strcmp() into _getNetworkInfo] Can find VMware adapter\n"
                                      : "[strcmp() into _getNetworkInfo] Can not find VMware adapter\n");
    }
    const unsigned char* b = adapters.front().address;
    std::snprintf(senderText, 24, "%02x:%02x:%02x:%02x:%02x:%02x:%02x:%02x", b[0], b[1], b[2], b[3], b[4], b[5], b[6],
                  b[7]);
    return ZELK_OK;
}

}  // namespace zelk
