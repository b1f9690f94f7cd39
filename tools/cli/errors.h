// The two ways a subcommand ends early, and the exit status of each.
#pragma once

#include <stdexcept>

namespace cli {

enum ExitStatus : int {
    STATUS_OK = 0,
    STATUS_FAILED = 1,  // the operation failed
    STATUS_USAGE = 2,   // the command line was refused; nothing was searched or sent
    STATUS_UNSETTLED = 3, // a camera got no address, or does not answer with what it was sent
};

// A user error: printed as one line, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A failure of the operation: printed as one line, exit status 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace cli
