// Command-line options of ostrel-cli: "--name value" pairs and flags.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

// A user error: printed as one line, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A failure of the operation: printed as one line, exit status 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Options {
public:
    // `valued` options take a value and may repeat; `flags` take none.
    Options(const std::vector<std::string>& args, const std::set<std::string>& valued,
            const std::set<std::string>& flags);

    bool has(const std::string& name) const { return values_.count(name) != 0 || flags_.count(name) != 0; }
    std::string value(const std::string& name, const std::string& otherwise = "") const;
    std::string required(const std::string& name) const;
    std::vector<std::string> all(const std::string& name) const;

private:
    std::map<std::string, std::vector<std::string>> values_;
    std::set<std::string> flags_;
};

}  // namespace cli
