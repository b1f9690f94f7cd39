#include "command_line.h"

#include <QCommandLineParser>

#include <string_view>

#include "trace.h"

void applyCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Finds the IP cameras on the local network and configures them."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption trace(QStringLiteral("trace"),
                                   QStringLiteral("Write the discovery library's trace lines to standard error."));
    parser.addOption(trace);
    parser.process(arguments);
    // Trace lines are for someone who asked for them, like debug output no
    // debugger listens to: a search of 500 cameras writes over 120,000.
    zelk::setTraceSink(parser.isSet(trace) ? zelk::TraceSink{} : [](std::string_view) {});
}
