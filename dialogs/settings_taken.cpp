#include "settings_taken.h"

#include "ipv4_text.h"
#include "text.h"

namespace {

// Address texts compare by value, so that "10.0.0.1" and "10.0.0.01" agree.
bool sameAddress(const std::string& sent, const std::string& reported) {
    const auto a = zelk::dottedAddress(sent.c_str(), sent.size());
    const auto b = zelk::dottedAddress(reported.c_str(), reported.size());
    return a && b ? *a == *b : sent == reported;
}

bool took(const SentSettings& s, const DeviceInfo& now) {
    const std::string dhcp = zelk::fieldText(now.dhcp);
    if (s.dhcp != (!dhcp.empty() && dhcp != "0")) return false;
    if (!s.deviceName.empty() && zelk::fieldText(now.deviceName) != s.deviceName) return false;
    if (!s.ipAddress.empty() && !sameAddress(s.ipAddress, zelk::fieldText(now.ipAddress))) return false;
    if (!s.subnetMask.empty() && !sameAddress(s.subnetMask, zelk::fieldText(now.subnetMask))) return false;
    return s.gateway.empty() || sameAddress(s.gateway, zelk::fieldText(now.gateway));
}

}  // namespace

std::vector<std::string> settingsNotTaken(const std::vector<SentSettings>& sent, const rules::ListState& list,
                                          const DeviceInfo* records) {
    std::vector<std::string> lines;
    for (const SentSettings& s : sent) {
        const std::string who = "The camera " + s.camera.mac + " (" + s.camera.ip + ")";
        // Where it should be now; its MAC address alone finds it at any other address.
        const rules::CameraKey expected{s.camera.mac, s.ipAddress.empty() ? s.camera.ip : s.ipAddress};
        const int row = rules::rowOfCamera(list, expected);
        if (row < 0) lines.push_back(who + " did not answer the search after its restart.");
        else if (!took(s, records[list.rowCamera[static_cast<size_t>(row)]]))
            lines.push_back(who + " did not take its new settings.");
    }
    return lines;
}
