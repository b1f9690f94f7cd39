#include "local_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>

#include "text.h"

bool ListLocalAddresses(std::vector<std::u16string>& addresses) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) == 0) {
        for (ifaddrs* it = list; it != nullptr; it = it->ifa_next) {
            if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) continue;
            if ((it->ifa_flags & IFF_UP) == 0 || (it->ifa_flags & IFF_LOOPBACK) != 0) continue;
            char text[INET_ADDRSTRLEN] = {};
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(it->ifa_addr)->sin_addr, text, sizeof text);
            addresses.push_back(zelk::widenText(text));
        }
        freeifaddrs(list);
    }
    return !addresses.empty();
}

std::vector<std::u16string> lanChooserEntries(const std::vector<std::u16string>& addresses) {
    std::vector<std::u16string> entries{u"Default"};
    for (const auto& a : addresses) {
        if (a.rfind(u"169", 0) != 0) entries.push_back(a);
    }
    return entries;
}
