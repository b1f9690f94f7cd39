#include "local_addresses.h"

#include <arpa/inet.h>

#include "local_interfaces.h"
#include "text.h"

bool ListLocalAddresses(std::vector<std::u16string>& addresses) {
    for (const zelk::LocalInterface& entry : zelk::listLocalInterfaces()) {
        if (!entry.ipv4 || !entry.up() || entry.loopback()) continue;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, entry.ipv4->address.data(), text, sizeof text);
        addresses.push_back(zelk::widenText(text));
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
