#include "address_walk.h"

#include <algorithm>
#include <optional>

#include "broadcast_socket.h"
#include "config_request.h"
#include "echo_probe.h"
#include "ipv4_subnet.h"
#include "ipv4_text.h"
#include "local_interfaces.h"
#include "neighbour_table.h"
#include "network_info.h"
#include "socket_holder.h"
#include "text.h"
#include "trace.h"
#include "zelk_testing.h"

namespace zelk {

namespace {

constexpr int ENTRIES_PER_REQUEST = 4;
constexpr const char* ROUTINE = "zelk_set_deviceinfo_multi";

const SendTraces MULTI_TRACES{"[sendto into zelk_set_deviceinfo_multi] Can send packet\n",
                              "[sendto into zelk_set_deviceinfo_multi] Can not send packet!!\n", ZELK_ERR_SEND_SET};

AddressProbe& testProbe() {
    static AddressProbe p;
    return p;
}

std::optional<std::vector<Ipv4>>& testLocalAddresses() {
    static std::optional<std::vector<Ipv4>> addresses;
    return addresses;
}

std::vector<Ipv4> workstationAddresses() {
    if (testLocalAddresses()) return *testLocalAddresses();
    std::vector<Ipv4> addresses;
    for (const LocalInterface& entry : listLocalInterfaces()) {
        if (entry.ipv4) addresses.push_back(entry.ipv4->address);
    }
    return addresses;
}

bool echoProbePossible() {
    if (testProbe()) return true;
    return SocketHolder(openEchoSocket().fd).open();
}

// What the walk knows of the range before it probes anything.
struct Range {
    std::string prefix;  // the first three parts, dotted
    Ipv4 base{};         // the last address, whose first three parts every candidate has
    int first = 0;
    int last = 0;
    Ipv4 mask{};
    Ipv4 gateway{};
    std::vector<Ipv4> own;
};

// Addresses the walk never probes: no camera may take them, whoever answers there.
std::optional<SkipReason> reservedFor(const Ipv4& candidate, const Range& range) {
    switch (subnetRole(candidate, range.mask)) {
    case SubnetRole::NetworkAddress:
        return SkipReason::NetworkAddress;
    case SubnetRole::BroadcastAddress:
        return SkipReason::BroadcastAddress;
    case SubnetRole::Host:
        break;
    }
    if (candidate == range.gateway) return SkipReason::Gateway;
    if (std::find(range.own.begin(), range.own.end(), candidate) != range.own.end()) return SkipReason::OwnAddress;
    return std::nullopt;
}

// A host that ignores echo requests still answers ARP: the echo request just
// sent has made the kernel ask, so its neighbour table tells.
std::optional<SkipReason> probe(const std::string& candidate) {
    if (testProbe()) {
        const int answer = testProbe()(candidate.c_str());
        if (answer == 1) return SkipReason::AnswersPing;
        if (answer == 2) return SkipReason::AnswersArp;
        return std::nullopt;
    }
    if (_ping(candidate.c_str()) != 0) return SkipReason::AnswersPing;
    if (neighbourHoldsAddress(candidate)) return SkipReason::AnswersArp;
    return std::nullopt;
}

// Reads and checks everything the walk needs; ZELK_OK or the failure.
int readRange(const DeviceInfo* bounds, int cameraCount, const int* indices, Range& range) {
    if (cameraCount < 0) return ZELK_ERR_BAD_INDEX;
    for (int i = 0; i < cameraCount; ++i) {
        if (cameraOfLastSearch(indices[i], ROUTINE) == nullptr) return ZELK_ERR_BAD_INDEX;
    }
    const auto first = dottedAddress(bounds[0].ipAddress);
    const auto last = dottedAddress(bounds[1].ipAddress);
    const auto mask = dottedAddress(bounds[0].subnetMask);
    const auto gateway = dottedAddress(bounds[0].gateway);
    if (!first || !last || !mask || !gateway) {
        debugTrace("[inet_addr into zelk_set_deviceinfo_multi] Can not read dotted address\n");
        return ZELK_ERR_BAD_ADDRESS;
    }
    // Taking the last address's prefix for both would move the whole range elsewhere.
    if (!samePrefix(*first, *last)) {
        debugTrace("[prefix into zelk_set_deviceinfo_multi] Can not walk a range across prefixes\n");
        return ZELK_ERR_BAD_ADDRESS;
    }
    range.base = *last;
    range.prefix = fieldText(bounds[1].ipAddress);
    range.prefix.resize(range.prefix.rfind('.'));
    range.first = (*first)[3];
    range.last = (*last)[3];
    range.mask = *mask;
    range.gateway = *gateway;
    return ZELK_OK;
}

}  // namespace

void setProbeForTests(AddressProbe p) { testProbe() = std::move(p); }

void setLocalAddressesForTests(std::optional<std::vector<Ipv4>> addresses) {
    testLocalAddresses() = std::move(addresses);
}

const char* skipReasonText(SkipReason reason) {
    switch (reason) {
    case SkipReason::AnswersPing:
        return "answers ping";
    case SkipReason::AnswersArp:
        return "answers ARP";
    case SkipReason::Gateway:
        return "gateway";
    case SkipReason::NetworkAddress:
        return "network address";
    case SkipReason::BroadcastAddress:
        return "broadcast address";
    case SkipReason::OwnAddress:
        return "this workstation's address";
    }
    return "";
}

AddressPlan planAddresses(const DeviceInfo* bounds, int cameraCount, const int* indices, const char* /*localAddress*/,
                          const WalkProgress& progress) {
    AddressPlan plan;
    Range range;
    plan.result = readRange(bounds, cameraCount, indices, range);
    if (plan.result != ZELK_OK) return plan;
    // Handing out addresses that could not be probed could give two devices one address.
    if (!echoProbePossible()) {
        debugTrace("[rawSocket into zelk_set_deviceinfo_multi] Can not create raw socket\n");
        plan.result = ZELK_ERR_NO_ICMP;
        return plan;
    }
    range.own = workstationAddresses();
    plan.assigned.assign(static_cast<size_t>(cameraCount), "");

    int placed = 0;
    for (int number = range.first; number <= range.last; ++number) {
        Ipv4 candidate = range.base;
        candidate[3] = static_cast<uint8_t>(number);
        const std::string text = range.prefix + "." + std::to_string(number);
        std::optional<SkipReason> skip = reservedFor(candidate, range);
        if (!skip) skip = probe(text);
        // The free address after the last camera's ends the walk.
        const bool ends = !skip && placed == cameraCount;
        if (skip) {
            debugTrace("[_ping into MultiConfigureDevice] Exist ip address\n");
            plan.skipped.push_back({text, *skip});
        } else if (!ends) {
            plan.assigned[static_cast<size_t>(placed++)] = text;
        }
        if (progress) progress(text, placed);
        if (ends) break;
    }
    return plan;
}

int sendAddressPlan(const AddressPlan& plan, const DeviceInfo* bounds, int cameraCount, const int* indices,
                    const char* localAddress) {
    if (plan.result != ZELK_OK) return plan.result;
    if (cameraCount < 0 || plan.assigned.size() != static_cast<size_t>(cameraCount)) return ZELK_ERR_BAD_INDEX;
    const auto mask = dottedAddress(bounds[0].subnetMask);
    const auto gateway = dottedAddress(bounds[0].gateway);
    if (!mask || !gateway) {
        debugTrace("[inet_addr into zelk_set_deviceinfo_multi] Can not read dotted address\n");
        return ZELK_ERR_BAD_ADDRESS;
    }
    // One request holds four entries: request r is for the cameras 4r to
    // 4r + 3 and carries their number at offset 28, with an entry for each of
    // them that received an address. A request without entries is not sent.
    std::vector<std::pair<int, std::vector<MultiEntry>>> requests;
    for (int i = 0; i < cameraCount; ++i) {
        if (i % ENTRIES_PER_REQUEST == 0)
            requests.emplace_back(std::min(ENTRIES_PER_REQUEST, cameraCount - i), std::vector<MultiEntry>{});
        const std::string& assigned = plan.assigned[static_cast<size_t>(i)];
        if (assigned.empty()) continue;
        const DeviceRecord* camera = cameraOfLastSearch(indices[i], ROUTINE);
        if (camera == nullptr) return ZELK_ERR_BAD_INDEX;
        const auto address = dottedAddress(assigned.c_str(), assigned.size() + 1);
        if (!address) return ZELK_ERR_BAD_ADDRESS;
        requests.back().second.push_back({camera, *address});
    }
    std::erase_if(requests, [](const auto& r) { return r.second.empty(); });
    if (requests.empty()) {
        debugTrace("[entry into zelk_set_deviceinfo_multi] Can not find camera with address\n");
        return ZELK_OK;
    }

    int result = prepareLibrarySocket(localAddress);
    if (result != ZELK_OK) return result;
    char sender[24] = {};
    _getNetworkInfo(sender);
    for (size_t r = 0; r < requests.size() && result == ZELK_OK; ++r)
        result = sendRequest(multiSetRequest(sender, requests[r].first, requests[r].second, *mask, *gateway),
                             MULTI_TRACES);
    if (result == ZELK_OK) closeLibrarySocket();
    return result;
}

}  // namespace zelk
