#include "private_network.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace testnet {

namespace {

bool writeFile(const char* path, const std::string& text) {
    int fd = ::open(path, O_WRONLY);
    if (fd < 0) return false;
    bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return ok;
}

}  // namespace

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

bool enterPrivateNetwork(std::string& why) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    int flags = CLONE_NEWNET;
    if (uid != 0) flags |= CLONE_NEWUSER;
    if (::unshare(flags) != 0) {
        why = std::string("cannot make a private network namespace: ") + std::strerror(errno);
        return false;
    }
    if (uid != 0) {
        writeFile("/proc/self/setgroups", "deny");
        if (!writeFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            why = "cannot map the user into its namespace";
            return false;
        }
    }
    if (!run("ip link set lo up")) {
        why = "cannot bring up loopback (is iproute2 installed?)";
        return false;
    }
    // Lets the ICMP datagram socket work for every group inside the namespace.
    // (In a user namespace only the mapped group exists.)
    if (!writeFile("/proc/sys/net/ipv4/ping_group_range", "0 2147483647"))
        writeFile("/proc/sys/net/ipv4/ping_group_range", "0 0");
    // Both ends of a segment live in this one namespace, so every datagram
    // arrives from a local address: accept it instead of dropping it as martian.
    for (const char* conf : {"all", "default"}) {
        writeFile((std::string("/proc/sys/net/ipv4/conf/") + conf + "/accept_local").c_str(), "1");
        writeFile((std::string("/proc/sys/net/ipv4/conf/") + conf + "/rp_filter").c_str(), "0");
    }
    return true;
}

bool addSegment(const std::string& workstation, const std::string& workstationCidr, const std::string& peer,
                const std::string& peerCidr) {
    return run("ip link add " + workstation + " type veth peer name " + peer) &&
           run("ip addr add " + workstationCidr + " dev " + workstation) &&
           (peerCidr.empty() || run("ip addr add " + peerCidr + " dev " + peer)) &&
           run("ip link set " + workstation + " up") && run("ip link set " + peer + " up");
}

bool setDefaultRoute(const std::string& interface) { return run("ip route add default dev " + interface); }

bool enterOneSegment(std::string& why) {
    return enterPrivateNetwork(why) && addSegment("wsA", "192.168.1.10/24", "camA") && setDefaultRoute("wsA");
}

}  // namespace testnet
