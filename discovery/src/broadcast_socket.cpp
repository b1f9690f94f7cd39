#include "broadcast_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "local_interfaces.h"
#include "packet.h"
#include "socket_holder.h"
#include "trace.h"
#include "zelk.h"

int m_sock = -1;

namespace zelk {

namespace {

// m_sock's adapter, set with m_sock and only in prepareLibrarySocket.
LocalAdapter m_sockAdapter;

// Room for a burst of several hundred replies before the loop reads them.
constexpr int RECEIVE_BUFFER_BYTES = 4 * 1024 * 1024;

bool hasAddress(const LocalInterface& entry, in_addr address) {
    return entry.ipv4 && std::memcmp(entry.ipv4->address.data(), &address, 4) == 0;
}

unsigned interfaceOwning(in_addr address) {
    for (const LocalInterface& entry : listLocalInterfaces()) {
        if (entry.index != 0 && hasAddress(entry, address)) return entry.index;
    }
    return 0;
}

void enlargeReceiveBuffer(int sock) {
    int size = RECEIVE_BUFFER_BYTES;
    if (setsockopt(sock, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(sock, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

}  // namespace

int _initBroadcastSocket(const char* localAddress, LocalAdapter& chosen) {
    SocketHolder sock(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    if (!sock.open()) {
        debugTrace("[nSocket into _initBroadcastSocket] Can not create win-socket\n");
        return ZELK_ERR_SOCKET;
    }
    debugTrace("[nSocket into _initBroadcastSocket] Can create win-socket\n");

    int on = 1;
    if (setsockopt(sock.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        debugTrace("[setsockopt into _initBroadcastSocket] Can not set reuseraddr\n");
        return ZELK_ERR_SOCKOPT;
    }
    if (setsockopt(sock.get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        debugTrace("[setsockopt into _initBroadcastSocket] Can not set broadcast\n");
        return ZELK_ERR_SOCKOPT;
    }
    debugTrace("[setsockopt into _initBroadcastSocket] Can set broadcast\n");
    enlargeReceiveBuffer(sock.get());

    // A socket bound to a unicast address hears no limited broadcast on Linux:
    // bind to the wildcard and keep to the chosen adapter by its index. Every
    // datagram's adapter is read, so each camera is known by the one it answered on.
    chosen = LocalAdapter{};
    if (localAddress != nullptr && localAddress[0] != '\0') chosen.address.s_addr = inet_addr(localAddress);
    // inet_addr reads "0.0.0.0" as the wildcard: every adapter, as the empty text.
    if (chosen.address.s_addr != htonl(INADDR_ANY)) chosen.index = interfaceOwning(chosen.address);
    const bool bindable = (chosen.address.s_addr == htonl(INADDR_ANY) || chosen.index != 0) &&
                          setsockopt(sock.get(), IPPROTO_IP, IP_PKTINFO, &on, sizeof on) == 0;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(IDCP_PORT);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!bindable || ::bind(sock.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        debugTrace("[bind into _initBroadcastSocket] Can not bind ip address\n");
        return ZELK_ERR_BIND;
    }
    debugTrace("[bind into _initBroadcastSocket] Can bind ip address\n");
    return sock.release();
}

std::vector<LocalAdapter> broadcastAdapters() {
    std::vector<LocalAdapter> adapters;
    for (const LocalInterface& entry : listLocalInterfaces()) {
        if (!entry.ipv4 || !entry.up() || entry.loopback() || !entry.broadcast() || entry.index == 0) continue;
        const bool known = std::any_of(adapters.begin(), adapters.end(),
                                       [&](const LocalAdapter& a) { return a.index == entry.index; });
        if (known) continue;
        LocalAdapter adapter{entry.index, {}};
        std::memcpy(&adapter.address, entry.ipv4->address.data(), 4);
        adapters.push_back(adapter);
    }
    return adapters;
}

const LocalAdapter& librarySocketAdapter() { return m_sockAdapter; }

namespace {

// Sends out of one adapter, or as the routing table decides when `index` is 0.
ssize_t sendThrough(int sock, const void* data, size_t size, const LocalAdapter& adapter) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(IDCP_PORT);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);

    iovec iov{const_cast<void*>(data), size};
    msghdr msg{};
    msg.msg_name = &to;
    msg.msg_namelen = sizeof to;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (adapter.index != 0) {
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        cmsghdr* cm = CMSG_FIRSTHDR(&msg);
        cm->cmsg_level = IPPROTO_IP;
        cm->cmsg_type = IP_PKTINFO;
        cm->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        info.ipi_ifindex = static_cast<int>(adapter.index);
        info.ipi_spec_dst = adapter.address;
        std::memcpy(CMSG_DATA(cm), &info, sizeof info);
    }
    return ::sendmsg(sock, &msg, 0);
}

}  // namespace

long sendOnLibrarySocket(const void* data, size_t size, const std::vector<LocalAdapter>& adapters) {
    std::vector<LocalAdapter> through = adapters;
    if (m_sockAdapter.index != 0) through = {m_sockAdapter};
    if (through.empty()) through.push_back({});
    long result = -1;
    for (const LocalAdapter& adapter : through) {
        ssize_t sent = sendThrough(m_sock, data, size, adapter);
        if (sent >= 0) result = static_cast<long>(sent);
    }
    return result;
}

int receiveOnLibrarySocket(uint8_t* buffer, int size, Arrival& arrival) {
    arrival = Arrival{};
    iovec iov{buffer, static_cast<size_t>(size)};
    msghdr msg{};
    msg.msg_name = &arrival.from;
    msg.msg_namelen = sizeof arrival.from;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;

    ssize_t n = ::recvmsg(m_sock, &msg, MSG_TRUNC);
    // A datagram larger than the buffer is a failed receive, as on platforms that refuse it.
    if (n < 0 || n > size || (msg.msg_flags & MSG_TRUNC) != 0) return -1;
    for (cmsghdr* cm = CMSG_FIRSTHDR(&msg); cm != nullptr; cm = CMSG_NXTHDR(&msg, cm)) {
        if (cm->cmsg_level != IPPROTO_IP || cm->cmsg_type != IP_PKTINFO) continue;
        in_pktinfo info{};
        std::memcpy(&info, CMSG_DATA(cm), sizeof info);
        arrival.adapter = static_cast<unsigned>(info.ipi_ifindex);
    }
    return static_cast<int>(n);
}

int prepareLibrarySocket(const char* localAddress) {
    closeLibrarySocket();
    LocalAdapter chosen;
    m_sock = _initBroadcastSocket(localAddress, chosen);
    if (m_sock < 0) {
        debugTrace("[m_sock into zelk_search_device] Can not initialize win-socket\n");
        return ZELK_ERR_SOCKET;
    }
    m_sockAdapter = chosen;
    debugTrace("[m_sock into zelk_search_device] Can initialize win-socket\n");
    return ZELK_OK;
}

void closeLibrarySocket() {
    if (m_sock >= 0) {
        SocketHolder closing(m_sock);
        m_sock = -1;
        m_sockAdapter = LocalAdapter{};
    }
}

}  // namespace zelk
