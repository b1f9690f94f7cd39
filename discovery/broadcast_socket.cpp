#include "broadcast_socket.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "packet.h"
#include "trace.h"
#include "zelk.h"

int m_sock = -1;

namespace zelk {

namespace {

// Adapter chosen by the last _initBroadcastSocket; 0 means every adapter.
unsigned g_chosenIfindex = 0;
in_addr g_chosenAddress{};

// Room for a burst of several hundred replies before the loop reads them.
constexpr int RECEIVE_BUFFER_BYTES = 4 * 1024 * 1024;

unsigned interfaceOwning(in_addr address) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return 0;
    unsigned index = 0;
    for (ifaddrs* it = list; it != nullptr && index == 0; it = it->ifa_next) {
        if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) continue;
        if (reinterpret_cast<sockaddr_in*>(it->ifa_addr)->sin_addr.s_addr != address.s_addr) continue;
        std::string name = it->ifa_name;
        name = name.substr(0, name.find(':'));  // an alias label names its device before the colon
        index = if_nametoindex(name.c_str());
    }
    freeifaddrs(list);
    return index;
}

void enlargeReceiveBuffer(int sock) {
    int size = RECEIVE_BUFFER_BYTES;
    if (setsockopt(sock, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(sock, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

}  // namespace

int _initBroadcastSocket(const char* localAddress) {
    int sock = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (sock < 0) {
        debugTrace("[nSocket into _initBroadcastSocket] Can not create win-socket\n");
        return ZELK_ERR_SOCKET;
    }
    debugTrace("[nSocket into _initBroadcastSocket] Can create win-socket\n");

    int on = 1;
    if (setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        debugTrace("[setsockopt into _initBroadcastSocket] Can not set reuseraddr\n");
        ::close(sock);
        return ZELK_ERR_SOCKOPT;
    }
    if (setsockopt(sock, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        debugTrace("[setsockopt into _initBroadcastSocket] Can not set broadcast\n");
        ::close(sock);
        return ZELK_ERR_SOCKOPT;
    }
    debugTrace("[setsockopt into _initBroadcastSocket] Can set broadcast\n");
    enlargeReceiveBuffer(sock);

    // A socket bound to a unicast address hears no limited broadcast on Linux:
    // bind to the wildcard and keep to the chosen adapter by its index.
    g_chosenIfindex = 0;
    g_chosenAddress.s_addr = INADDR_ANY;
    bool bindable = true;
    if (localAddress != nullptr && localAddress[0] != '\0') {
        g_chosenAddress.s_addr = inet_addr(localAddress);
        g_chosenIfindex = interfaceOwning(g_chosenAddress);
        bindable = g_chosenIfindex != 0 &&
                   setsockopt(sock, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) == 0;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(IDCP_PORT);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!bindable || ::bind(sock, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        debugTrace("[bind into _initBroadcastSocket] Can not bind ip address\n");
        ::close(sock);
        return ZELK_ERR_BIND;
    }
    debugTrace("[bind into _initBroadcastSocket] Can bind ip address\n");
    return sock;
}

namespace {

struct Adapter {
    unsigned index;
    in_addr address;
};

// Every adapter that can carry a broadcast, each once.
std::vector<Adapter> broadcastAdapters() {
    std::vector<Adapter> adapters;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return adapters;
    for (ifaddrs* it = list; it != nullptr; it = it->ifa_next) {
        if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) continue;
        if ((it->ifa_flags & IFF_UP) == 0 || (it->ifa_flags & IFF_LOOPBACK) != 0 ||
            (it->ifa_flags & IFF_BROADCAST) == 0)
            continue;
        std::string name = it->ifa_name;
        unsigned index = if_nametoindex(name.substr(0, name.find(':')).c_str());
        bool known = false;
        for (const Adapter& a : adapters) known = known || a.index == index;
        if (index != 0 && !known) adapters.push_back({index, reinterpret_cast<sockaddr_in*>(it->ifa_addr)->sin_addr});
    }
    freeifaddrs(list);
    return adapters;
}

// Sends out of one adapter, or as the routing table decides when `index` is 0.
ssize_t sendThrough(int sock, const void* data, size_t size, const Adapter& adapter) {
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

long sendBroadcast(int sock, const void* data, size_t size) {
    if (g_chosenIfindex != 0) {
        ssize_t sent = sendThrough(sock, data, size, {g_chosenIfindex, g_chosenAddress});
        return sent < 0 ? -1 : static_cast<long>(sent);
    }
    // Linux sends a limited broadcast out of one adapter only; "every adapter"
    // means one copy out of each.
    std::vector<Adapter> adapters = broadcastAdapters();
    if (adapters.empty()) adapters.push_back({0, {}});
    long result = -1;
    for (const Adapter& adapter : adapters) {
        ssize_t sent = sendThrough(sock, data, size, adapter);
        if (sent >= 0) result = static_cast<long>(sent);
    }
    return result;
}

int receiveDatagram(int sock, uint8_t* buffer, int size, bool& fromChosenAdapter) {
    sockaddr_in from{};
    iovec iov{buffer, static_cast<size_t>(size)};
    msghdr msg{};
    msg.msg_name = &from;
    msg.msg_namelen = sizeof from;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;

    ssize_t n = ::recvmsg(sock, &msg, MSG_TRUNC);
    fromChosenAdapter = true;
    // A datagram larger than the buffer is a failed receive, as on platforms that refuse it.
    if (n < 0 || n > size || (msg.msg_flags & MSG_TRUNC) != 0) return -1;
    if (g_chosenIfindex != 0) {
        fromChosenAdapter = false;
        for (cmsghdr* cm = CMSG_FIRSTHDR(&msg); cm != nullptr; cm = CMSG_NXTHDR(&msg, cm)) {
            if (cm->cmsg_level != IPPROTO_IP || cm->cmsg_type != IP_PKTINFO) continue;
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(cm), sizeof info);
            fromChosenAdapter = static_cast<unsigned>(info.ipi_ifindex) == g_chosenIfindex;
        }
    }
    return static_cast<int>(n);
}

int prepareLibrarySocket(const char* localAddress) {
    closeLibrarySocket();
    m_sock = _initBroadcastSocket(localAddress);
    if (m_sock < 0) {
        debugTrace("[m_sock into zelk_search_device] Can not initialize win-socket\n");
        return ZELK_ERR_SOCKET;
    }
    debugTrace("[m_sock into zelk_search_device] Can initialize win-socket\n");
    return ZELK_OK;
}

void closeLibrarySocket() {
    if (m_sock >= 0) {
        ::close(m_sock);
        m_sock = -1;
    }
}

}  // namespace zelk
