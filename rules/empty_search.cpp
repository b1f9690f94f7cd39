#include "empty_search.h"

namespace rules {

std::string emptySearchCause(const zelk::SearchDiagnosis& diagnosis, const std::string& lan,
                             const std::string& everyAdapter) {
    if (!lan.empty() && diagnosis.chosenAdapterGone)
        return "no adapter that is up holds the local address " + lan + " any longer: check the cable and the address "
               "of the adapter, or " + everyAdapter;
    if (!diagnosis.broadcastAdapterUp)
        return "no network adapter is up with an IPv4 address and a broadcast route: connect one to the cameras' "
               "segment";
    if (!diagnosis.ownProbeHeard)
        return "this machine did not hear its own probe back, so its firewall drops incoming UDP port 50444 and "
               "with it every camera's reply. Let the port in with the rule of the firewall in use:\n"
               "  nftables:  nft add rule inet filter input udp dport 50444 accept\n"
               "  ufw:       ufw allow 50444/udp\n"
               "  firewalld: firewall-cmd --permanent --add-port=50444/udp && firewall-cmd --reload";
    return {};
}

}  // namespace rules
