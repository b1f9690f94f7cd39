// Runs ostrel-cli, given to the test program as its only argument, inside the
// private segment the program made at start.
#pragma once

#include <string>
#include <vector>

struct CliRun {
    int status = -1;  // the exit status; -1 when it did not exit
    std::string out, err;
    long peakKilobytes = 0;  // the largest the program grew
};

CliRun runCli(const std::vector<std::string>& arguments);
