// The log that tools/ostrel-lab keeps of what its simulated cameras did.
#pragma once

#include <chrono>
#include <string>

namespace testlab {

// True when the process runs inside ostrel-lab (it names its log).
bool insideLab();

// The whole log as it stands.
std::string labLog();

// Waits until the log holds `line`; false when the deadline passes first.
bool labLogged(const std::string& line, std::chrono::milliseconds deadline = std::chrono::seconds(2));

}  // namespace testlab
