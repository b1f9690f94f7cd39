#include "restart_check.h"

#include <chrono>
#include <cstdio>

#include "countdown.h"
#include "search_session.h"
#include "terminal_text.h"

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

// The first setting the camera reports otherwise than it was sent, as
// "ip 192.168.1.32 (sent 192.168.1.77)"; empty when it reports all as sent.
std::string firstDifference(const Json::Value& camera, const ExpectedCamera& expected) {
    const auto differs = [&](const char* what, const char* key, const std::optional<std::string>& sent) {
        if (!sent || camera[key].asString() == *sent) return std::string();
        return std::string(what) + " " + terminalText(camera[key].asString()) + " (sent " + terminalText(*sent) + ")";
    };
    for (std::string d : {differs("name", "sDeviceName", expected.name), differs("ip", "sIP", expected.ip),
                          differs("mask", "sNetMask", expected.mask), differs("gateway", "sGateWay", expected.gateway)}) {
        if (!d.empty()) return d;
    }
    if (expected.dhcp && camera["bDHCP"].asBool() != *expected.dhcp)
        return std::string("dhcp ") + (camera["bDHCP"].asBool() ? "on" : "off") + " (sent " +
               (*expected.dhcp ? "on" : "off") + ")";
    return {};
}

bool sendsSettings(const ExpectedCamera& e) { return e.name || e.ip || e.mask || e.gateway || e.dhcp; }

struct Verdict {
    bool answers = false;
    std::string difference;  // empty when it answers as expected
};

// Two cameras may report one MAC address: any of them that answers as
// expected settles it.
Verdict verdictOn(const SearchSession& s, const ExpectedCamera& expected) {
    Verdict verdict;
    for (int i = 0; i < s.count; ++i) {
        if (s.camera(i)["sMac"].asString() != expected.mac) continue;
        const std::string difference = firstDifference(s.camera(i), expected);
        if (verdict.answers && verdict.difference.empty()) continue;
        verdict = {true, difference};
    }
    return verdict;
}

}  // namespace

void addWaitOption(CLI::App& command, bool& wait) {
    command.add_flag("--wait", wait,
                     "wait out the restart, search again and report whether each camera answers with what it was "
                     "sent (exit status 3 when one does not)");
}

int restartSeconds(int countdownMode) { return Countdown::startValue(countdownMode).value_or(0); }

bool confirmRestart(const std::vector<ExpectedCamera>& cameras, const std::string& lan, int seconds) {
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    std::fprintf(stderr, "ostrel-cli: waiting up to %d seconds for the camera%s to answer again\n", seconds,
                 cameras.size() == 1 ? "" : "s");
    std::vector<Verdict> verdicts;
    for (;;) {
        // A camera that has not restarted yet still answers with its old settings: search again until the deadline.
        const SearchSession s = runSearch(lan);
        verdicts.clear();
        bool settled = true;
        for (const ExpectedCamera& expected : cameras) {
            verdicts.push_back(verdictOn(s, expected));
            settled = settled && verdicts.back().answers && verdicts.back().difference.empty();
        }
        if (settled || Clock::now() >= deadline) break;
    }
    bool all = true;
    for (size_t k = 0; k < cameras.size(); ++k) {
        const Verdict& v = verdicts[k];
        if (!v.answers) std::printf("%s does not answer the search\n", cameras[k].mac.c_str());
        else if (!v.difference.empty())
            std::printf("%s does not answer with the settings it was sent: %s\n", cameras[k].mac.c_str(),
                        v.difference.c_str());
        else if (sendsSettings(cameras[k])) std::printf("%s answers with the settings it was sent\n", cameras[k].mac.c_str());
        else std::printf("%s answers again\n", cameras[k].mac.c_str());
        all = all && v.answers && v.difference.empty();
    }
    return all;
}

}  // namespace cli
