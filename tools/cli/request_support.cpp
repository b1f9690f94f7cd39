#include "request_support.h"

#include "arguments.h"
#include "errors.h"
#include "network_settings.h"
#include "zelk.h"

namespace cli {

void addLanOption(CLI::App& command, std::string& lan) {
    command.add_option("--lan", lan, "send from the adapter with this local address (default: every adapter)")
        ->check(Ipv4Address)
        ->type_name("ADDRESS");
}

// What the library's refusals mean to the person at the terminal.
void checkResult(int result, const std::string& what) {
    switch (result) {
    case ZELK_OK: return;
    case ZELK_ERR_BAD_ADDRESS: throw Failure("an address, mask or gateway is not usable; nothing was sent");
    case ZELK_ERR_NO_ICMP:
        throw Failure("addresses cannot be probed here (no ICMP socket: run as root or open "
                      "net.ipv4.ping_group_range); nothing was sent");
    case ZELK_ERR_SOCKET: throw Failure("no socket could be prepared for the " + what + "; nothing was sent");
    default: throw Failure("the " + what + " was not sent (" + std::to_string(result) + ")");
    }
}

void checkUsableSettings(const std::string& address, const std::string& mask, const std::string& gateway,
                         const char* const (&options)[3]) {
    const auto problem = rules::unusableSettings(address, mask, gateway);
    if (problem) throw UsageError(std::string(options[static_cast<int>(problem->field)]) + ": " + problem->message);
}

}  // namespace cli
