#include "camera_choice.h"

#include <algorithm>
#include <cctype>

#include "password_check.h"
#include "text.h"

namespace cli {

namespace {

std::string normalMac(std::string mac) {
    std::replace(mac.begin(), mac.end(), ':', '-');
    std::transform(mac.begin(), mac.end(), mac.begin(), [](unsigned char c) { return std::tolower(c); });
    return mac;
}

int cameraWith(const SearchSession& s, const char* key, const std::string& value, const std::string& what) {
    int found = -1;
    for (int i = 0; i < s.count; ++i) {
        if (s.camera(i)[key].asString() != value) continue;
        if (found >= 0) throw Failure("several cameras answer with " + what + "; choose one by --mac");
        found = i;
    }
    if (found < 0) throw Failure("no camera with " + what + " answered the search");
    return found;
}

}  // namespace

int cameraByMac(const SearchSession& s, const std::string& mac) {
    return cameraWith(s, "sMac", normalMac(mac), "MAC address " + mac);
}

int chosenCamera(const SearchSession& s, const Options& options) {
    if (options.has("--mac") == options.has("--ip")) throw UsageError("give either --mac or --ip");
    if (options.has("--mac")) return cameraByMac(s, options.value("--mac"));
    return cameraWith(s, "sIP", options.value("--ip"), "IP address " + options.value("--ip"));
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
