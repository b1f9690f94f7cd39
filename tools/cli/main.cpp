// ostrel-cli: Ostrel's camera search and configuration from a terminal.
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "configure_commands.h"
#include "options.h"
#include "ostrel_version.h"
#include "search_command.h"

namespace {

const char* const USAGE =
    "usage: ostrel-cli search [--lan ADDRESS] [--json] [--trace]\n"
    "       ostrel-cli set (--mac MAC | --ip IP) --password PW [--name NAME] [--new-ip IP] [--mask MASK]\n"
    "                      [--gateway GW] [--dhcp on|off] [--lan ADDRESS]\n"
    "       ostrel-cli reset (--mac MAC | --ip IP) --password PW [--lan ADDRESS]\n"
    "       ostrel-cli assign --mac MAC [--mac MAC ...] --first IP --last IP --mask MASK --gateway GW\n"
    "                         --password PW [--lan ADDRESS]\n";

}  // namespace

int main(int argc, char** argv) {
    const std::map<std::string, std::function<int(const std::vector<std::string>&)>> commands{
        {"search", cli::searchCommand},
        {"set", cli::setCommand},
        {"reset", cli::resetCommand},
        {"assign", cli::assignCommand},
    };
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::puts("ostrel-cli " OSTREL_VERSION);
        return 0;
    }
    if (argc < 2 || commands.count(argv[1]) == 0) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    try {
        return commands.at(argv[1])(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const cli::UsageError& e) {
        std::fprintf(stderr, "ostrel-cli: %s\n%s", e.what(), USAGE);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ostrel-cli: %s\n", e.what());
        return 1;
    }
}
