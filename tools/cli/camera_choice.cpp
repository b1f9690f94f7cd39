#include "camera_choice.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "arguments.h"
#include "errors.h"
#include "password_check.h"
#include "text.h"

namespace cli {

std::string normalMac(std::string mac) {
    std::replace(mac.begin(), mac.end(), ':', '-');
    std::transform(mac.begin(), mac.end(), mac.begin(), [](unsigned char c) { return std::tolower(c); });
    return mac;
}

namespace {

int cameraWith(const SearchSession& s, const char* key, const std::string& value, const std::string& what,
               const std::string& advice) {
    int found = -1;
    for (int i = 0; i < s.count; ++i) {
        if (s.camera(i)[key].asString() != value) continue;
        if (found >= 0) throw Failure("several cameras answer with " + what + "; " + advice);
        found = i;
    }
    if (found < 0) throw Failure("no camera with " + what + " answered the search");
    return found;
}

}  // namespace

void addTargetOptions(CLI::App& command, CameraTarget& target) {
    target.macOption =
        command.add_option("--mac", target.mac, "the camera with this MAC address")->check(MacAddress)->type_name("MAC");
    target.ipOption = command.add_option("--ip", target.ip, "the camera with this IP address")
                          ->check(Ipv4Address)
                          ->type_name("IP")
                          ->excludes(command.get_option("--mac"));
}

void checkTarget(const CameraTarget& target) {
    if (target.macOption->count() == 0 && target.ipOption->count() == 0) throw UsageError("give either --mac or --ip");
}

int cameraByMac(const SearchSession& s, const std::string& mac, const std::string& advice) {
    return cameraWith(s, "sMac", normalMac(mac), "MAC address " + mac, advice);
}

int chosenCamera(const SearchSession& s, const CameraTarget& target) {
    // A request names its camera by MAC, so cameras that share one both obey it.
    if (target.macOption->count() > 0)
        return cameraByMac(s, target.mac, "both would obey the request: choose one by --ip");
    return cameraWith(s, "sIP", target.ip, "IP address " + target.ip, "choose one by --mac");
}

void warnOfSharedMac(const SearchSession& s, int index) {
    for (int i = 0; i < s.count; ++i) {
        if (i != index && s.camera(i)["sMac"] == s.camera(index)["sMac"])
            std::fprintf(stderr, "ostrel-cli: %s reports the same MAC address: it obeys this request too\n",
                         describe(s, i).c_str());
    }
}

void checkPassword(const SearchSession& s, int index, const std::string& typed) {
    if (!rules::passwordMatches(zelk::cameraTextWide(typed), s.camera(index)["sPW"].asString()))
        throw Failure("the password does not match the one camera " + describe(s, index) +
                      " reported; nothing was sent");
}

std::string describe(const SearchSession& s, int index) {
    return s.camera(index)["sMac"].asString() + " (" + s.camera(index)["sIP"].asString() + ")";
}

}  // namespace cli
