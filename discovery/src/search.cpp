#include "search.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <ctime>

#include "broadcast_socket.h"
#include "device_table.h"
#include "packet.h"
#include "parse_packet.h"
#include "scan_document.h"
#include "trace.h"
#include "zelk.h"
#include "zelk_testing.h"

namespace zelk {

namespace {

constexpr int RECEIVE_WINDOW_SECONDS = 4;
constexpr int WAIT_MILLISECONDS = 1000;

std::chrono::milliseconds g_testWindow{0};

// The receive window: whole wall-clock seconds as cameras have always been
// given, or a test's shorter window on the monotonic clock.
class ReceiveWindow {
public:
    ReceiveWindow()
        : wallDeadline_(std::time(nullptr) + RECEIVE_WINDOW_SECONDS),
          testDeadline_(std::chrono::steady_clock::now() + g_testWindow) {}

    bool open() const {
        if (g_testWindow.count() == 0) return std::time(nullptr) < wallDeadline_;
        return std::chrono::steady_clock::now() < testDeadline_;
    }

    int waitMilliseconds() const {
        if (g_testWindow.count() == 0) return WAIT_MILLISECONDS;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            testDeadline_ - std::chrono::steady_clock::now());
        return static_cast<int>(std::max<long long>(0, std::min<long long>(WAIT_MILLISECONDS, left.count())));
    }

private:
    std::time_t wallDeadline_;
    std::chrono::steady_clock::time_point testDeadline_;
};

void receiveOne() {
    static uint8_t buffer[IDCP_RECV_SIZE];
    bool fromChosenAdapter = true;
    int received = receiveOnLibrarySocket(buffer, sizeof buffer, fromChosenAdapter);
    if (received == -1) {
        debugTrace("[recvfrom into _discovery_device] J == -1\n");
    } else {
        debugTrace("[recvfrom into _discovery_device] Can receive message for UDP\n");
    }
    if (!fromChosenAdapter) {
        debugTrace("[ipi_ifindex into _discovery_device] Can not accept packet of other adapter\n");
        return;
    }
    if (received <= IDCP_HEADER_SIZE) {
        debugTrace("[first into _discovery_device] Can not parse packet\n");
        return;
    }
    _parsePacket(buffer, received);
}

}  // namespace

void setReceiveWindowForTests(std::chrono::milliseconds window) { g_testWindow = window; }

int _discovery_device() {
    if (m_sock < 0) return ZELK_ERR_SOCKET;
    const auto probe = buildProbe();
    if (sendOnLibrarySocket(probe.data(), probe.size()) < 0) {
        debugTrace("[sendto into _discovery_device] Can not send message\n");
        return ZELK_ERR_SEND_PROBE;
    }
    debugTrace("[sendto into _discovery_device] Can send message\n");

    ReceiveWindow window;
    while (window.open()) {
        pollfd fd{m_sock, POLLIN, 0};
        int ready = ::poll(&fd, 1, window.waitMilliseconds());
        if (ready < 0) {
            debugTrace("[j into _discovery_device] J < 0\n");
        } else if (ready == 0) {
            debugTrace("[select into _discovery_device] Can select timeout...\n");
        } else if ((fd.revents & POLLIN) == 0) {
            debugTrace("[FD_ISSET into _discovery_device] Can not select FD_ISSET\n");
        } else {
            receiveOne();
        }
    }
    return ZELK_OK;
}

}  // namespace zelk

int zelk_search_device(int* deviceCount, DeviceInfo* devices, int* textLength, char* scanText,
                       const char* localAddress) {
    using namespace zelk;
    if (prepareLibrarySocket(localAddress) != ZELK_OK) return ZELK_ERR_SOCKET;

    // Records are overwritten from here on: no configuration command may
    // address an index until this search has completed.
    setLastSearchCount(0);
    int result = _discovery_device();
    if (result < 0) {
        debugTrace("[_discovery_device into zelk_search_device] Can not discover device\n");
        return result;
    }
    debugTrace("[_discovery_device into zelk_search_device] Can discover device\n");

    result = _generatePacketInfo(deviceCount, devices, textLength, scanText);
    closeLibrarySocket();
    return result;
}
