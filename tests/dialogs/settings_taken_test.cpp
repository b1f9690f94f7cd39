#include <gtest/gtest.h>

#include "settings_taken.h"
#include "text.h"

namespace {

struct Reported {
    const char* mac;
    const char* ip;
    const char* name;
    const char* dhcp;
};

// The search after the restart: one row per camera, in reply order.
struct Search {
    explicit Search(const std::vector<Reported>& cameras) : records(cameras.size()) {
        for (size_t k = 0; k < cameras.size(); ++k) {
            DeviceInfo& r = records[k];
            zelk::setField(r.macAddress, cameras[k].mac);
            zelk::setField(r.ipAddress, cameras[k].ip);
            zelk::setField(r.deviceName, cameras[k].name);
            zelk::setField(r.subnetMask, "255.255.255.0");
            zelk::setField(r.gateway, "10.0.0.1");
            zelk::setField(r.dhcp, cameras[k].dhcp);
            list.rowCamera.push_back(static_cast<int>(k));
            list.cameras.push_back({cameras[k].mac, cameras[k].ip});
        }
    }
    rules::ListState list;
    std::vector<DeviceInfo> records;
};

TEST(SettingsTaken, EachCameraIsFoundByItsMacAndComparedWithWhatItWasSent) {
    const SentSettings toStatic{{"M1", "10.0.0.5"}, "Gate", "10.0.0.50", "255.255.255.0", "10.0.0.1", false};
    const SentSettings toDhcp{{"M1", "10.0.0.5"}, "Gate", "", "", "", true};
    const std::string ignored = "The camera M1 (10.0.0.5) did not take its new settings.";
    struct Case {
        const char* what;
        SentSettings sent;
        std::vector<Reported> now;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"took its address and name", toStatic, {{"M2", "10.0.0.5", "x", "0"}, {"M1", "10.0.0.50", "Gate", "0"}}, {}},
        {"kept its old address", toStatic, {{"M1", "10.0.0.5", "Gate", "0"}}, {ignored}},
        {"kept its old name", toStatic, {{"M1", "10.0.0.50", "Lobby", "0"}}, {ignored}},
        {"went on with DHCP", toStatic, {{"M1", "10.0.0.50", "Gate", "1"}}, {ignored}},
        {"took DHCP at an address of the server's", toDhcp, {{"M1", "10.0.0.77", "Gate", "1"}}, {}},
        {"stayed static", toDhcp, {{"M1", "10.0.0.5", "Gate", "0"}}, {ignored}},
        {"gone", toStatic, {{"M2", "10.0.0.50", "Gate", "0"}},
         {"The camera M1 (10.0.0.5) did not answer the search after its restart."}},
    };
    for (const Case& c : cases) {
        const Search search(c.now);
        EXPECT_EQ(settingsNotTaken({c.sent}, search.list, search.records.data()), c.lines) << c.what;
    }
}

}  // namespace
