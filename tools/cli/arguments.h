// The checks every argument passes while the command line is read, before any
// search, and where the password comes from.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace cli {

// "02-1a-2b-3c-4d-5e" or "02:1A:2B:3C:4D:5E".
extern const CLI::Validator MacAddress;
// A dotted IPv4 address, each part 0..255.
extern const CLI::Validator Ipv4Address;

// The camera's password: --password, --password-file, or a prompt.
struct PasswordSource {
    std::string given;  // --password
    std::string file;   // --password-file ("-" for standard input)
    const CLI::Option* givenOption = nullptr;
    const CLI::Option* fileOption = nullptr;
};
void addPasswordOptions(CLI::App& command, PasswordSource& source);

// The password from its source; prompts with echo off when none was named and
// standard input is a terminal. Throws UsageError when there is none.
std::string readPassword(const PasswordSource& source);

}  // namespace cli
