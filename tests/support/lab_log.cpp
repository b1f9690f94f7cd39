#include "lab_log.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace testlab {

bool insideLab() { return std::getenv("OSTREL_LAB_LOG") != nullptr; }

std::string labLog() {
    std::ifstream in(std::getenv("OSTREL_LAB_LOG"));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool labLogged(const std::string& line, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (labLog().find(line) != std::string::npos) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace testlab
