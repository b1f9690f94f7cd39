// What the commands that send a request share.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace cli {

// --lan ADDRESS
void addLanOption(CLI::App& command, std::string& lan);

// Throws Failure with what the library's result `result` means, unless it is 0.
void checkResult(int result, const std::string& what);

// Refuses settings that are well-formed but unusable, naming the option of
// the field at fault: `options` holds the names for address, mask and gateway.
void checkUsableSettings(const std::string& address, const std::string& mask, const std::string& gateway,
                         const char* const (&options)[3]);

}  // namespace cli
