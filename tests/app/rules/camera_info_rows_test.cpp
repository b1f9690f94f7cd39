#include <gtest/gtest.h>

#include "camera_info_rows.h"

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Json::Value camera(const std::string& web, const std::string& r1, const std::string& r2, const std::string& r3,
                   const std::string& ip = "192.168.1.20") {
    Json::Value c;
    c["sDeviceName"] = "Lobby";
    c["sModelName"] = "";
    c["bDHCP"] = true;
    c["sIP"] = ip;
    c["sMac"] = "00-1a-2b-3c-4d-5e";
    c["sNetMask"] = "255.255.255.0";
    c["sGateWay"] = "192.168.1.1";
    c["sVersion"] = "1.2.3";
    c["sWebURL"] = web;
    c["sRTSPURL1"] = r1;
    c["sRTSPURL2"] = r2;
    c["sRTSPURL3"] = r3;
    return c;
}

// The rows from "Web URL" on.
Rows tail(const Json::Value& c) {
    Rows rows;
    const auto all = rules::deviceInfoRows(c, c["sRTSPURL1"].asString());
    for (size_t i = 8; i < all.size(); ++i) rows.emplace_back(all[i].name, all[i].value);
    return rows;
}

TEST(DeviceInfoRows, TheFirstEightRows) {
    const auto rows = rules::deviceInfoRows(camera("", "", "", ""), "");
    const Rows expected{{"Device Name", "Lobby"}, {"Model Name", "N/A"}, {"DHCP", "Enable"},
                        {"IP Address", "192.168.1.20"}, {"MAC Address", "00-1a-2b-3c-4d-5e"},
                        {"Subnet Mask", "255.255.255.0"}, {"Gateway", "192.168.1.1"}, {"Firmware version", "1.2.3"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rows[i].name, expected[i].first);
        EXPECT_EQ(rows[i].value, expected[i].second);
    }
}

TEST(DeviceInfoRows, WebAndRtspRows) {
    const std::string a = "rtsp://10.0.0.2:554/a";
    const std::string b = "rtsp://10.0.0.2:8554/b/c";
    const std::string c = "rtsp://10.0.0.2:555/c";
    struct Case {
        const char* what;
        Json::Value camera;
        Rows rows;
    };
    const Case cases[] = {
        {"one RTSP URL", camera("http://10.0.0.2:8080", a, "", ""),
         {{"Web URL", "http://10.0.0.2:8080"}, {"Web Port", "8080"}, {"RTSP URL", a}, {"RTSP Port", "554"}}},
        {"two", camera("", a, b, ""),
         {{"Web URL", "http://192.168.1.20:80"}, {"Web Port", "80"}, {"RTSP URL 1", a}, {"RTSP Port 1", "554"},
          {"RTSP URL 2", b}, {"RTSP Port 2", "8554"}}},
        {"three", camera("http://h:81/x", a, b, c),
         {{"Web URL", "http://h:81/x"}, {"Web Port", "81/x"}, {"RTSP URL 1", a}, {"RTSP Port 1", "554"},
          {"RTSP URL 2", b}, {"RTSP Port 2", "8554"}, {"RTSP URL 3", c}, {"RTSP Port 3", "555"}}},
        {"1 and 3 without 2", camera("http://h", a, "", c),
         {{"Web URL", "http://h"}, {"Web Port", "//h"}, {"RTSP URL", a}, {"RTSP Port", "554"}, {"RTSP URL 3", c},
          {"RTSP Port 3", "555"}}},
        {"2 without 1", camera("", "", b, ""),
         {{"Web URL", "http://192.168.1.20:80"}, {"Web Port", "80"}, {"RTSP URL", "N/A"}, {"RTSP Port 1", ""},
          {"RTSP URL 2", b}, {"RTSP Port 2", "8554"}}},
        {"no web URL, no IP", camera("", "rtsp://10.0.0.2:554", "", "", ""),
         {{"Web URL", "http://:80"}, {"Web Port", "80"}, {"RTSP URL", "rtsp://10.0.0.2:554"}, {"RTSP Port", ""}}},
    };
    for (const Case& k : cases) EXPECT_EQ(tail(k.camera), k.rows) << k.what;
}

TEST(DeviceInfoRows, DhcpFollowsTheValuesType) {
    const std::pair<Json::Value, bool> cases[] = {
        {true, true}, {false, false}, {0, false}, {2, true}, {0u, false}, {0.0, false}, {0.5, true},
        {"", false}, {"no", true}, {Json::Value(Json::arrayValue), false}, {Json::Value(), false},
    };
    for (const auto& [value, enabled] : cases) EXPECT_EQ(rules::dhcpEnabled(value), enabled) << value.toStyledString();
}

}  // namespace
