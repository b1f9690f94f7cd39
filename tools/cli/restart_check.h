// After a request: wait out the camera's restart, search again, and tell
// whether each camera now answers with what it was sent.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace cli {

// What one camera should report once it has restarted; a setting left empty
// is not compared (a factory reset sends none).
struct ExpectedCamera {
    std::string mac;  // as the search reports it
    std::optional<std::string> name, ip, mask, gateway;
    std::optional<bool> dhcp;
};

// --wait
void addWaitOption(CLI::App& command, bool& wait);

// Searches from `lan` until every camera answers as expected or `seconds`
// have passed since the request, then prints one line per camera. True when
// every camera answers as expected.
bool confirmRestart(const std::vector<ExpectedCamera>& cameras, const std::string& lan, int seconds);

// The `countdownMode` of the window's countdown (0 factory default, 1 new settings) in seconds.
int restartSeconds(int countdownMode);

}  // namespace cli
