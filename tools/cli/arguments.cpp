#include "arguments.h"

#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

#include "errors.h"
#include "ipv4_text.h"

namespace cli {

namespace {

bool isMac(const std::string& text) {
    if (text.size() != 17) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (i % 3 == 2 ? (c != '-' && c != ':') : !std::isxdigit(c)) return false;
    }
    return true;
}

// The terminal as it was before the prompt, for a signal that ends the
// program while echo is off: its default action skips every destructor and
// would leave the user's shell typing blind.
termios terminalBeforePrompt{};
constexpr int ENDING_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void restoreTerminalAndEnd(int signalNumber) {
    tcsetattr(STDIN_FILENO, TCSANOW, &terminalBeforePrompt);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);  // delivered, with its default action, once this handler returns
}

// Restores the terminal's echo however the prompt ends, a signal included.
class EchoOff {
public:
    EchoOff() : on_(tcgetattr(STDIN_FILENO, &terminalBeforePrompt) == 0) {
        if (!on_) return;
        struct sigaction restoring {};
        restoring.sa_handler = restoreTerminalAndEnd;
        sigemptyset(&restoring.sa_mask);
        for (size_t i = 0; i < std::size(ENDING_SIGNALS); ++i) sigaction(ENDING_SIGNALS[i], &restoring, &before_[i]);
        termios quiet = terminalBeforePrompt;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    ~EchoOff() {
        if (!on_) return;
        tcsetattr(STDIN_FILENO, TCSANOW, &terminalBeforePrompt);
        for (size_t i = 0; i < std::size(ENDING_SIGNALS); ++i) sigaction(ENDING_SIGNALS[i], &before_[i], nullptr);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    struct sigaction before_[std::size(ENDING_SIGNALS)] {};
    bool on_;
};

// One line without its line end; false at the end of the input.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

const CLI::Validator MacAddress(
    [](std::string& text) { return isMac(text) ? std::string() : "not a MAC address (six hex pairs joined by - or :): " + text; },
    "", "MAC address");

const CLI::Validator Ipv4Address(
    [](std::string& text) {
        return zelk::dottedAddress(text.c_str(), text.size() + 1) ? std::string()
                                                                 : "not a dotted IPv4 address: " + text;
    },
    "", "IPv4 address");

void addPasswordOptions(CLI::App& command, PasswordSource& source) {
    source.givenOption = command.add_option(
        "--password", source.given,
        "the camera's password (visible to other users of this machine in the process list: "
        "prefer --password-file or the prompt)")
                             ->type_name("PW");
    source.fileOption = command
                            .add_option("--password-file", source.file,
                                         "read the password from the first line of FILE ('-': standard input)")
                            ->type_name("FILE")
                            ->excludes(command.get_option("--password"));
}

std::string readPassword(const PasswordSource& source) {
    if (source.givenOption->count() > 0) return source.given;
    std::string line;
    if (source.fileOption->count() > 0) {
        if (source.file == "-") {
            if (!readLine(std::cin, line)) throw UsageError("--password-file: standard input holds no line");
            return line;
        }
        std::ifstream file(source.file);
        if (!file) throw UsageError("--password-file: cannot read " + source.file);
        if (!readLine(file, line)) throw UsageError("--password-file: " + source.file + " is empty");
        return line;
    }
    if (!isatty(STDIN_FILENO))
        throw UsageError("no password: give --password-file FILE (or - for standard input), or run on a terminal");
    const EchoOff quiet;  // before the prompt, so that nothing typed after it shows
    std::fputs("Camera password: ", stderr);
    std::fflush(stderr);
    if (!readLine(std::cin, line)) throw UsageError("no password was typed");
    return line;
}

}  // namespace cli
