#include "address_walk.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

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

// Addresses no camera may take, whoever answers there.
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
std::optional<SkipReason> probe(const std::string& candidate, ProbeTranscript& transcript) {
    if (testProbe()) {
        const int answer = testProbe()(candidate.c_str());
        if (answer == 1) return SkipReason::AnswersPing;
        if (answer == 2) return SkipReason::AnswersArp;
        return std::nullopt;
    }
    if (pingInto(candidate.c_str(), transcript) != 0) return SkipReason::AnswersPing;
    if (neighbourHoldsAddress(candidate)) return SkipReason::AnswersArp;
    return std::nullopt;
}

// One candidate of the walk and, once decided, the verdict on it.
struct Candidate {
    std::string text;
    bool decided = false;
    std::optional<SkipReason> skip;
    ProbeTranscript transcript;
};

// Probes the candidates side by side, so that a walk costs about one echo
// timeout rather than one per free address, yet decides exactly as a walk
// one address after another: a candidate is probed only while the free
// addresses found so far and the probes still running cannot yet make the
// `needed` free addresses that end the walk, so no address beyond the end of
// the serial walk is ever probed.
class ParallelProbes {
public:
    ParallelProbes(std::vector<Candidate>& candidates, int needed) : candidates_(candidates), needed_(needed) {}

    // Waits for the verdict on candidate `index`, starting the probes that
    // may be needed meanwhile. Candidates are asked for in address order.
    const Candidate& decided(size_t index) {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            startProbes(lock, index);
            if (candidates_[index].decided) return candidates_[index];
            changed_.wait(lock);
        }
    }

private:
    static constexpr size_t MAX_AHEAD = 64;  // bounds the sockets and threads of one walk

    // The caller holds the lock.
    void startProbes(std::unique_lock<std::mutex>& lock, size_t asked) {
        while (next_ < candidates_.size() && free_ + running_ < needed_ && next_ < asked + MAX_AHEAD) {
            Candidate& c = candidates_[next_++];
            if (c.decided) continue;  // names no host: not probed
            // A reserved address is probed for the report only; it is never free.
            const bool mayBeFree = !c.skip;
            if (mayBeFree) ++running_;
            auto probeAndRecord = [this, &c, mayBeFree] {
                ProbeTranscript transcript;
                const std::optional<SkipReason> answer = probe(c.text, transcript);
                const std::lock_guard<std::mutex> lock(mutex_);
                c.transcript = std::move(transcript);
                if (mayBeFree) {
                    c.skip = answer;
                    --running_;
                    if (!answer) ++free_;
                }
                c.decided = true;
                changed_.notify_all();
            };
            try {
                probing_.emplace_back(probeAndRecord);
            } catch (const std::system_error&) {
                // No thread to be had (the user's process limit): this
                // candidate is probed here, as the serial walk would.
                lock.unlock();
                probeAndRecord();
                lock.lock();
            }
        }
    }

    std::vector<Candidate>& candidates_;
    const int needed_;
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t next_ = 0;  // the first candidate not yet started
    int running_ = 0;
    int free_ = 0;
    std::vector<std::jthread> probing_;  // last: joined before the rest goes
};

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

    std::vector<Candidate> candidates(static_cast<size_t>(std::max(0, range.last - range.first + 1)));
    for (size_t i = 0; i < candidates.size(); ++i) {
        Ipv4 address = range.base;
        address[3] = static_cast<uint8_t>(range.first + static_cast<int>(i));
        candidates[i].text = range.prefix + "." + std::to_string(address[3]);
        // The gateway and the workstation's own addresses are probed like any
        // address the walk meets; network and broadcast addresses are no host's.
        candidates[i].skip = reservedFor(address, range);
        candidates[i].decided =
            candidates[i].skip == SkipReason::NetworkAddress || candidates[i].skip == SkipReason::BroadcastAddress;
    }
    // The free address after the last camera's ends the walk.
    ParallelProbes probes(candidates, cameraCount + 1);
    int placed = 0;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& c = probes.decided(i);
        c.transcript.replay();
        const bool ends = !c.skip && placed == cameraCount;
        if (c.skip) {
            debugTrace("[_ping into MultiConfigureDevice] Exist ip address\n");
            plan.skipped.push_back({c.text, *c.skip});
        } else if (!ends) {
            plan.assigned[static_cast<size_t>(placed++)] = c.text;
        }
        if (progress) progress(c.text, placed);
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
                             MULTI_TRACES, adaptersOfEntries(requests[r].second));
    if (result == ZELK_OK) closeLibrarySocket();
    return result;
}

}  // namespace zelk
