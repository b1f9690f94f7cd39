// ostrel-cli: Ostrel's camera search and configuration from a terminal.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "assign_command.h"
#include "configure_commands.h"
#include "errors.h"
#include "ostrel_version.h"
#include "search_command.h"

namespace {

const char* const EXIT_STATUS_TEXT =
    "Exit status: 0 success, 1 the operation failed, 2 the command line was refused (nothing was searched\n"
    "or sent), 3 a camera got no address, or does not answer with the settings it was sent.\n";

// A result that could not be written is a failure, not a success: a full
// disk, or a reader that went away.
int finishOutput(int status) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "ostrel-cli: cannot write the result: %s\n", std::strerror(errno));
        return status == cli::STATUS_OK ? cli::STATUS_FAILED : status;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed pipe must show as a failed write, not end the program unseen.
    std::signal(SIGPIPE, SIG_IGN);

    CLI::App tool{"Finds the IP cameras on the local network segment and changes their network settings."};
    tool.name("ostrel-cli");
    tool.set_version_flag("--version", "ostrel-cli " OSTREL_VERSION);
    tool.footer(EXIT_STATUS_TEXT);
    tool.require_subcommand(1);
    const std::vector<cli::Command> commands{cli::searchCommand(tool), cli::setCommand(tool), cli::resetCommand(tool),
                                             cli::assignCommand(tool)};
    for (const cli::Command& command : commands) command.parser->footer(EXIT_STATUS_TEXT);

    if (argc < 2) {
        std::cerr << tool.help();
        return cli::STATUS_USAGE;
    }
    const auto known = [&](const std::string& name) {
        return std::any_of(commands.begin(), commands.end(),
                           [&](const cli::Command& c) { return c.parser->get_name() == name; });
    };
    if (argv[1][0] != '-' && !known(argv[1])) {
        std::fprintf(stderr, "ostrel-cli: unknown subcommand %s\nRun with --help for more information.\n", argv[1]);
        return cli::STATUS_USAGE;
    }
    try {
        tool.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return finishOutput(tool.exit(e));
    } catch (const CLI::CallForAllHelp& e) {
        return finishOutput(tool.exit(e));
    } catch (const CLI::CallForVersion& e) {
        return finishOutput(tool.exit(e));
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "ostrel-cli: %s\nRun with --help for more information.\n", e.what());
        return cli::STATUS_USAGE;
    }
    try {
        for (const cli::Command& command : commands) {
            if (command.parser->parsed()) return finishOutput(command.run());
        }
    } catch (const cli::UsageError& e) {
        std::fprintf(stderr, "ostrel-cli: %s\nRun with --help for more information.\n", e.what());
        return finishOutput(cli::STATUS_USAGE);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ostrel-cli: %s\n", e.what());
        return finishOutput(cli::STATUS_FAILED);
    }
    return cli::STATUS_USAGE;
}
