// The window's command line decides whether trace lines reach standard error.
#include <gtest/gtest.h>

#include <QStringList>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "command_line.h"
#include "trace.h"

namespace {

// What one trace line written after `arguments` leaves on standard error.
std::string traceWrittenAfter(const QStringList& arguments) {
    applyCommandLine(arguments);
    std::FILE* file = std::tmpfile();
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(::fileno(file), STDERR_FILENO);
    zelk::debugTrace("[probe into test] Can write\n");
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::string written(64, '\0');
    std::rewind(file);
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    zelk::setTraceSink({});
    return written;
}

}  // namespace

TEST(CommandLine, TraceLinesReachStandardErrorOnlyWithTrace) {
    EXPECT_EQ(traceWrittenAfter({"ostrel"}), "");
    EXPECT_EQ(traceWrittenAfter({"ostrel", "--trace"}), "[probe into test] Can write\n");
}
