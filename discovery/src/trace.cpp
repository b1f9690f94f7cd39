#include "trace.h"

#include <unistd.h>

#include <utility>

namespace zelk {

namespace {

TraceSink& currentSink() {
    static TraceSink sink;
    return sink;
}

void writeToStandardError(std::string_view message) {
    // One write per line so that lines of concurrent writers never interleave.
    const char* p = message.data();
    size_t left = message.size();
    while (left > 0) {
        ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n <= 0) return;
        p += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace

void debugTrace(std::string_view message) {
    if (const TraceSink& sink = currentSink()) {
        sink(message);
    } else {
        writeToStandardError(message);
    }
}

void setTraceSink(TraceSink sink) { currentSink() = std::move(sink); }

}  // namespace zelk
