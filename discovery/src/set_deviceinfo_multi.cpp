#include "set_deviceinfo_multi.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include "broadcast_socket.h"
#include "config_request.h"
#include "echo_probe.h"
#include "ipv4_text.h"
#include "network_info.h"
#include "socket_holder.h"
#include "text.h"
#include "trace.h"
#include "zelk.h"
#include "zelk_testing.h"

namespace zelk {

namespace {

constexpr int ENTRIES_PER_REQUEST = 4;

const SendTraces MULTI_TRACES{"[sendto into zelk_set_deviceinfo_multi] Can send packet\n",
                              "[sendto into zelk_set_deviceinfo_multi] Can not send packet!!\n", ZELK_ERR_SEND_SET};

AddressProbe& testProbe() {
    static AddressProbe p;
    return p;
}

int probeAddress(const char* address) { return testProbe() ? testProbe()(address) : _ping(address); }

// The first three parts and the number in the last part of a dotted address text.
void splitAddress(const std::string& text, std::string& prefix, int& number) {
    std::vector<std::u16string> parts;
    const int count = splitText(widenText(text), u".", parts);
    prefix.clear();
    for (int i = 0; i < 3 && i < count; ++i) prefix += (i > 0 ? "." : "") + narrowText(parts[i]);
    number = count >= 4 ? std::atoi(narrowText(parts[count - 1]).c_str()) : 0;
}

bool echoProbePossible() {
    if (testProbe()) return true;
    return SocketHolder(openEchoSocket().fd).open();
}

}  // namespace

void setProbeForTests(AddressProbe p) { testProbe() = std::move(p); }

std::vector<MultiEntry> walkAddresses(const std::string& first, const std::string& last, int cameraCount,
                                      const std::vector<const DeviceRecord*>& cameras) {
    std::string prefix;
    int firstNumber = 0;
    int lastNumber = 0;
    splitAddress(first, prefix, firstNumber);
    splitAddress(last, prefix, lastNumber);

    std::vector<MultiEntry> entries;
    for (int number = firstNumber; number <= lastNumber; ++number) {
        const std::string candidate = prefix + "." + std::to_string(number);
        if (probeAddress(candidate.c_str()) != 0) {
            debugTrace("[_ping into MultiConfigureDevice] Exist ip address\n");
            continue;
        }
        if (static_cast<int>(entries.size()) >= cameraCount) break;
        const auto address = dottedAddress(candidate.c_str(), candidate.size() + 1);
        if (!address) break;  // past .255: no address of the range is left
        entries.push_back({cameras[entries.size()], *address});
    }
    return entries;
}

}  // namespace zelk

int zelk_set_deviceinfo_multi(const DeviceInfo* bounds, char* /*scanText*/, int cameraCount, const int* indices,
                              const char* localAddress) {
    using namespace zelk;
    if (cameraCount < 0) return ZELK_ERR_BAD_INDEX;
    std::vector<const DeviceRecord*> cameras;
    for (int i = 0; i < cameraCount; ++i) {
        const DeviceRecord* camera = cameraOfLastSearch(indices[i], "zelk_set_deviceinfo_multi");
        if (camera == nullptr) return ZELK_ERR_BAD_INDEX;
        cameras.push_back(camera);
    }
    const auto mask = dottedAddress(bounds[0].subnetMask);
    const auto gateway = dottedAddress(bounds[0].gateway);
    if (!dottedAddress(bounds[0].ipAddress) || !dottedAddress(bounds[1].ipAddress) || !mask || !gateway) {
        debugTrace("[inet_addr into zelk_set_deviceinfo_multi] Can not read dotted address\n");
        return ZELK_ERR_BAD_ADDRESS;
    }
    // Handing out addresses that could not be probed could give two devices one address.
    if (!echoProbePossible()) {
        debugTrace("[rawSocket into zelk_set_deviceinfo_multi] Can not create raw socket\n");
        return ZELK_ERR_NO_ICMP;
    }
    int result = prepareLibrarySocket(localAddress);
    if (result != ZELK_OK) return result;

    char sender[24] = {};
    _getNetworkInfo(sender);
    const std::vector<MultiEntry> entries =
        walkAddresses(fieldText(bounds[0].ipAddress), fieldText(bounds[1].ipAddress), cameraCount, cameras);

    // One request holds four entries: request r is for the cameras 4r to
    // 4r + 3, carries their number at offset 28 and the entries of those of
    // them that received an address. Without cameras one empty request goes out.
    const int requests = std::max(1, (cameraCount + ENTRIES_PER_REQUEST - 1) / ENTRIES_PER_REQUEST);
    for (int r = 0; r < requests && result == ZELK_OK; ++r) {
        const int first = r * ENTRIES_PER_REQUEST;
        const int asked = std::min(ENTRIES_PER_REQUEST, cameraCount - first);
        const auto from = entries.begin() + std::min<long>(first, std::ssize(entries));
        const auto to = entries.begin() + std::min<long>(first + asked, std::ssize(entries));
        result = sendRequest(multiSetRequest(sender, asked, {from, to}, *mask, *gateway), MULTI_TRACES,
                             adaptersOfEntries({from, to}));
    }
    if (result == ZELK_OK) closeLibrarySocket();
    return result;
}
