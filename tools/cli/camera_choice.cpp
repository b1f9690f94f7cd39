#include "camera_choice.h"

#include <algorithm>
#include <cctype>

#include "arguments.h"
#include "errors.h"
#include "password_check.h"
#include "text.h"

namespace cli {

namespace {

std::string normalMac(std::string mac) {
    std::replace(mac.begin(), mac.end(), ':', '-');
    std::transform(mac.begin(), mac.end(), mac.begin(), [](unsigned char c) { return std::tolower(c); });
    return mac;
}

int cameraWith(const SearchSession& s, const char* key, const std::string& value, const std::string& what,
               const char* tellApartBy) {
    int found = -1;
    for (int i = 0; i < s.count; ++i) {
        if (s.camera(i)[key].asString() != value) continue;
        if (found >= 0) throw Failure("several cameras answer with " + what + "; choose one by " + tellApartBy);
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

int cameraByMac(const SearchSession& s, const std::string& mac) {
    return cameraWith(s, "sMac", normalMac(mac), "MAC address " + mac, "--ip");
}

int chosenCamera(const SearchSession& s, const CameraTarget& target) {
    if (target.macOption->count() > 0) return cameraByMac(s, target.mac);
    return cameraWith(s, "sIP", target.ip, "IP address " + target.ip, "--mac");
}

void checkPassword(const SearchSession& s, int index, const std::string& typed) {
    if (!rules::passwordMatches(zelk::widenText(typed), s.camera(index)["sPW"].asString()))
        throw Failure("the password does not match the one camera " + describe(s, index) +
                      " reported; nothing was sent");
}

std::string describe(const SearchSession& s, int index) {
    return s.camera(index)["sMac"].asString() + " (" + s.camera(index)["sIP"].asString() + ")";
}

}  // namespace cli
