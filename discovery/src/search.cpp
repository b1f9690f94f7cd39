#include "search.h"

#include <net/if.h>
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "broadcast_socket.h"
#include "local_interfaces.h"
#include "packet.h"
#include "parse_packet.h"
#include "scan_document.h"
#include "search_diagnosis.h"
#include "trace.h"
#include "zelk.h"
#include "zelk_testing.h"

namespace zelk {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds RECEIVE_WINDOW{4000};
constexpr milliseconds LONGEST_WAIT{1000};

milliseconds g_testWindow{0};
ClockReader g_clock;
SearchDiagnosis g_diagnosis;

std::chrono::nanoseconds readClock(clockid_t clock) {
    if (g_clock) return g_clock(clock);
    timespec now{};
    clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// The receive window, counted on the monotonic clock: a step of the wall
// clock neither ends it at once nor keeps it open for the size of the step.
class ReceiveWindow {
public:
    ReceiveWindow() : start_(now()), length_(g_testWindow.count() != 0 ? g_testWindow : RECEIVE_WINDOW) {}

    milliseconds length() const { return length_; }
    milliseconds elapsed() const { return std::chrono::duration_cast<milliseconds>(now() - start_); }

private:
    static std::chrono::nanoseconds now() { return readClock(CLOCK_MONOTONIC); }

    std::chrono::nanoseconds start_;
    milliseconds length_;
};

// Later probes go out within the window's first half, so that their replies
// still have half a window to arrive.
milliseconds probeSpacing(int probes, milliseconds asked, milliseconds window) {
    if (probes <= 1) return milliseconds{0};
    const milliseconds widest = window / 2 / (probes - 1);
    return asked.count() <= 0 || asked > widest ? widest : asked;
}

bool sendProbe(const std::vector<LocalAdapter>& adapters) {
    const auto probe = buildProbe();
    if (sendOnLibrarySocket(probe.data(), probe.size(), adapters) < 0) {
        debugTrace("[sendto into _discovery_device] Can not send message\n");
        return false;
    }
    debugTrace("[sendto into _discovery_device] Can send message\n");
    return true;
}

// What the receive loop keeps to besides m_sock.
struct Listening {
    std::vector<LocalAdapter> probed;        // the adapters the probe left through
    std::vector<LocalInterface> interfaces;  // as the search found them
    const ReplyStored& onStored;
};

bool probedThrough(const Listening& listening, const Arrival& arrival) {
    // A probe the routing table sent could have left anywhere.
    return listening.probed.empty() ||
           std::any_of(listening.probed.begin(), listening.probed.end(),
                       [&](const LocalAdapter& a) { return a.index == arrival.adapter; });
}

// The adapter with the workstation's address on it: the one on the sender's
// subnet, else its first.
ReplyAdapter replyAdapterOf(const Arrival& arrival, const std::vector<LocalInterface>& interfaces) {
    ReplyAdapter adapter{arrival.adapter, {}, {}};
    char name[IF_NAMESIZE] = {};
    if (adapter.index != 0 && if_indextoname(adapter.index, name) != nullptr) adapter.name = name;
    bool onSendersSubnet = false;
    bool found = false;
    for (const LocalInterface& entry : interfaces) {
        if (entry.index != adapter.index || !entry.ipv4 || onSendersSubnet) continue;
        in_addr address{};
        in_addr mask{};
        std::memcpy(&address, entry.ipv4->address.data(), 4);
        std::memcpy(&mask, entry.ipv4->mask.data(), 4);
        onSendersSubnet = ((address.s_addr ^ arrival.from.sin_addr.s_addr) & mask.s_addr) == 0;
        if (!found || onSendersSubnet) adapter.address = address;
        found = true;
    }
    return adapter;
}

void receiveOne(const Listening& listening) {
    static uint8_t buffer[IDCP_RECV_SIZE];
    Arrival arrival;
    const int received = receiveOnLibrarySocket(buffer, sizeof buffer, arrival);
    if (received == -1) {
        debugTrace("[recvfrom into _discovery_device] J == -1\n");
        debugTrace("[first into _discovery_device] Can not parse packet\n");
        return;
    }
    debugTrace("[recvfrom into _discovery_device] Can receive message for UDP\n");
    if (isOwnProbe(buffer, received, arrival, listening.interfaces)) g_diagnosis.ownProbeHeard = true;
    // Only the adapters the probe left through can carry its replies; a reply
    // is tied to the adapter it came in on.
    if (!probedThrough(listening, arrival)) {
        debugTrace("[ipi_ifindex into _discovery_device] Can not accept packet of other adapter\n");
        return;
    }
    if (received <= IDCP_HEADER_SIZE) {
        debugTrace("[first into _discovery_device] Can not parse packet\n");
        return;
    }
    const int before = g_deviceTable.count;
    _parsePacket(buffer, received);
    if (g_deviceTable.count == before) return;
    const int index = g_deviceTable.count - 1;
    ReplyAdapter adapter = replyAdapterOf(arrival, listening.interfaces);
    if (listening.onStored) listening.onStored(index, g_deviceTable.records[index], adapter);
    setReplyAdapter(index, std::move(adapter));
}

int runSearch(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText, const char* localAddress,
              const ProbePlan& plan, const ReplyStored& onStored) {
    if (prepareLibrarySocket(localAddress) != ZELK_OK) return ZELK_ERR_SOCKET;
    int result = _discovery_device(plan, onStored);
    if (result < 0) {
        debugTrace("[_discovery_device into zelk_search_device] Can not discover device\n");
        return result;
    }
    debugTrace("[_discovery_device into zelk_search_device] Can discover device\n");

    result = _generatePacketInfo(deviceCount, devices, textLength, scanText);
    closeLibrarySocket();
    return result;
}

}  // namespace

void setReceiveWindowForTests(milliseconds window) { g_testWindow = window; }

void setClockForTests(ClockReader clock) { g_clock = std::move(clock); }

int _discovery_device(const ProbePlan& plan, const ReplyStored& onStored) {
    if (m_sock < 0) return ZELK_ERR_SOCKET;
    const LocalAdapter& chosen = librarySocketAdapter();
    // Linux sends a limited broadcast out of one adapter only: "every
    // adapter" means one probe out of each.
    const Listening listening{chosen.index != 0 ? std::vector<LocalAdapter>{chosen} : broadcastAdapters(),
                              listLocalInterfaces(), onStored};
    if (!sendProbe(listening.probed)) return ZELK_ERR_SEND_PROBE;
    // Records are overwritten from here on: no configuration command may
    // address an index until this search has completed. A probe that did not
    // leave leaves the last search's cameras addressable.
    setLastSearchCount(0);

    // More probes than this would flood the segment with replies.
    const int probes = std::clamp(plan.probes, 1, MAX_SEARCH_PROBES);
    ReceiveWindow window;
    const milliseconds spacing = probeSpacing(probes, plan.spacing, window.length());
    int sent = 1;
    for (milliseconds elapsed = window.elapsed(); elapsed < window.length(); elapsed = window.elapsed()) {
        milliseconds wait = std::min(LONGEST_WAIT, window.length() - elapsed);
        if (sent < probes) wait = std::clamp(sent * spacing - elapsed, milliseconds{0}, wait);
        pollfd fd{m_sock, POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(wait.count()));
        if (ready < 0) {
            debugTrace("[j into _discovery_device] J < 0\n");
        } else if (ready == 0) {
            debugTrace("[select into _discovery_device] Can select timeout...\n");
        } else if ((fd.revents & POLLIN) == 0) {
            debugTrace("[FD_ISSET into _discovery_device] Can not select FD_ISSET\n");
        } else {
            receiveOne(listening);
        }
        // A later probe that does not leave costs its replies only; the search goes on.
        if (sent < probes && window.elapsed() >= sent * spacing) {
            sendProbe(listening.probed);
            ++sent;
        }
    }
    return ZELK_OK;
}

int searchDevices(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText, const char* localAddress,
                  const ProbePlan& plan, const ReplyStored& onStored) {
    g_diagnosis = SearchDiagnosis{};
    g_diagnosis.broadcastAdapterUp = broadcastAdapterConnected();
    const int result = runSearch(deviceCount, devices, textLength, scanText, localAddress, plan, onStored);
    g_diagnosis.chosenAdapterGone = chosenAddressGone(localAddress);
    return result;
}

SearchDiagnosis lastSearchDiagnosis() { return g_diagnosis; }

}  // namespace zelk

int zelk_search_device(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText,
                       const char* localAddress) {
    return zelk::searchDevices(deviceCount, devices, textLength, scanText, localAddress, zelk::ProbePlan{}, {});
}
