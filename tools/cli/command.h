// A subcommand of ostrel-cli: its part of the command line and what it does.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace cli {

struct Command {
    CLI::App* parser;          // the subcommand, with its options and checks
    std::function<int()> run;  // runs once the whole command line was read and checked
};

}  // namespace cli
