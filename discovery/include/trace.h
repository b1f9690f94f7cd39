// Trace lines of the library: one line per significant step.
#pragma once

#include <functional>
#include <string_view>

namespace zelk {

// Writes one trace line (the message carries its own line feed).
void debugTrace(std::string_view message);

// Where trace lines go; an empty sink restores standard error.
using TraceSink = std::function<void(std::string_view)>;
void setTraceSink(TraceSink sink);

}  // namespace zelk
