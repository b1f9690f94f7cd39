// The window program's command line: --help, --version and --trace.
#pragma once

#include <QStringList>

// Reads the arguments of the running application. --help and --version
// print and end the program here; without --trace the library's trace
// lines are dropped.
void applyCommandLine(const QStringList& arguments);
