// Collects the library's trace lines for the duration of a test.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "trace.h"

class TraceCapture {
public:
    TraceCapture() {
        zelk::setTraceSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    ~TraceCapture() { zelk::setTraceSink({}); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    long count(const std::string& line) const { return std::count(lines.begin(), lines.end(), line); }

    std::vector<std::string> lines;
};
