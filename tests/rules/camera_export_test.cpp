#include <gtest/gtest.h>

#include <json/json.h>

#include <cstring>

#include "camera_export.h"

namespace {

template <size_t N>
void put(char (&field)[N], const char* text) {
    std::strncpy(field, text, N - 1);
}

// Two cameras: one with texts that need quoting and a name that is not valid UTF-8.
std::vector<rules::ExportedCamera> fixture() {
    DeviceInfo a{};
    put(a.deviceName, "Gate, \"north\"");
    put(a.ipAddress, "192.168.1.21");
    put(a.macAddress, "02-1A-2B-3C-4D-01");
    put(a.modelName, "CX-200");
    put(a.firmwareVersion, "1.4.2");
    put(a.subnetMask, "255.255.255.0");
    put(a.gateway, "192.168.1.1");
    put(a.dhcp, "0");
    put(a.userId, "admin");
    put(a.password, "secret-pw");
    put(a.webUrl, "http://192.168.1.21");
    put(a.rtspUrl1, "rtsp://192.168.1.21:554/s1");
    DeviceInfo b{};
    put(b.deviceName, "Caf\xC3\xA9\n\xFF");
    put(b.ipAddress, "192.168.1.22");
    put(b.dhcp, "1");
    put(b.password, "other-pw");
    put(b.rtspUrl3, "rtsp://x/3");
    return {rules::exportedCamera(a), rules::exportedCamera(b)};
}

TEST(CameraExport, CsvQuotesWhereNeededEndsLinesWithCrLfAndLeavesOutTheAccount) {
    const std::string csv = rules::camerasCsv(fixture());
    EXPECT_EQ(csv,
              "Device Name,IP Address,MAC Address,Model Name,Firmware Version,Subnet Mask,Gateway,DHCP,Web URL,"
              "RTSP URL 1,RTSP URL 2,RTSP URL 3\r\n"
              "\"Gate, \"\"north\"\"\",192.168.1.21,02-1A-2B-3C-4D-01,CX-200,1.4.2,255.255.255.0,192.168.1.1,false,"
              "http://192.168.1.21,rtsp://192.168.1.21:554/s1,,\r\n"
              "\"Caf\xC3\xA9\n\xC3\xBF\",192.168.1.22,,,,,,true,,,,rtsp://x/3\r\n");
    EXPECT_EQ(csv.find("pw"), std::string::npos);
    EXPECT_EQ(csv.find("admin"), std::string::npos);
}

TEST(CameraExport, JsonHoldsTheSameFieldsAndParsesBack) {
    const std::string text = rules::camerasJson(fixture());
    EXPECT_EQ(text.find("pw"), std::string::npos);
    EXPECT_EQ(text.find("admin"), std::string::npos);
    Json::Value parsed;
    ASSERT_TRUE(Json::Reader().parse(text, parsed));
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0]["deviceName"].asString(), "Gate, \"north\"");
    EXPECT_EQ(parsed[0]["macAddress"].asString(), "02-1A-2B-3C-4D-01");
    EXPECT_EQ(parsed[0]["subnetMask"].asString(), "255.255.255.0");
    EXPECT_FALSE(parsed[0]["dhcp"].asBool());
    EXPECT_EQ(parsed[0]["rtspUrls"][0].asString(), "rtsp://192.168.1.21:554/s1");
    EXPECT_EQ(parsed[1]["deviceName"].asString(), "Caf\xC3\xA9\n\xC3\xBF");
    EXPECT_TRUE(parsed[1]["dhcp"].asBool());
    EXPECT_EQ(parsed[1]["rtspUrls"].size(), 3u);
    EXPECT_EQ(parsed[1].getMemberNames().size(), 10u);  // no account fields beside the ten
}

}  // namespace
