#include "device_info_rows.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <initializer_list>
#include <utility>

#include "json_truth.h"

namespace {

Json::Value camera(std::initializer_list<std::pair<const char*, const char*>> members) {
    Json::Value object(Json::objectValue);
    for (const auto& [key, value] : members) object[key] = value;
    return object;
}

std::vector<InfoRow> rowsFrom(const std::vector<InfoRow>& rows, size_t first) {
    return {rows.begin() + static_cast<std::ptrdiff_t>(std::min(first, rows.size())), rows.end()};
}

}  // namespace

void PrintTo(const InfoRow& row, std::ostream* os) {
    *os << testing::PrintToString(row.name) << " = " << testing::PrintToString(row.value);
}

TEST(DeviceInfoRows, FixedRowsOfACamera) {
    Json::Value full = camera({{"sDeviceName", "Lobby"}, {"sModelName", "NC-200"}, {"sIP", "192.168.0.20"},
                               {"sMac", "00:11:22:33:44:55"}, {"sNetMask", "255.255.255.0"},
                               {"sGateWay", "192.168.0.1"}, {"sVersion", "1.2.3"},
                               {"sWebURL", "http://192.168.0.20:80"}, {"sRTSPURL1", "rtsp://192.168.0.20:554/s1"}});
    full["bDHCP"] = true;
    const std::vector<InfoRow> expected{
        {u"Device Name", u"Lobby"},
        {u"Model Name", u"NC-200"},
        {u"DHCP", u"Enable"},
        {u"IP Address", u"192.168.0.20"},
        {u"MAC Address", u"00:11:22:33:44:55"},
        {u"Subnet Mask", u"255.255.255.0"},
        {u"Gateway", u"192.168.0.1"},
        {u"Firmware version", u"1.2.3"},
        {u"Web URL", u"http://192.168.0.20:80"},
        {u"Web Port", u"80"},
        {u"RTSP URL", u"rtsp://192.168.0.20:554/s1"},
        {u"RTSP Port", u"554"},
    };
    EXPECT_EQ(deviceInfoRows(full, "rtsp://192.168.0.20:554/s1"), expected);
}

TEST(DeviceInfoRows, MissingOrOddMembersShowAsNotAvailable) {
    Json::Value odd = camera({});
    odd["sDeviceName"] = Json::Value(Json::objectValue);
    odd["sDeviceName"]["x"] = 1;
    odd["sModelName"] = Json::Value(Json::arrayValue);
    odd["sIP"] = Json::nullValue;
    const std::vector<InfoRow> expected{
        {u"Device Name", u"N/A"}, {u"Model Name", u"N/A"},       {u"DHCP", u"Disable"},
        {u"IP Address", u"N/A"},  {u"MAC Address", u"N/A"},      {u"Subnet Mask", u"N/A"},
        {u"Gateway", u"N/A"},     {u"Firmware version", u"N/A"}, {u"Web URL", u"http://:80"},
        {u"Web Port", u"80"},     {u"RTSP URL", u"N/A"},         {u"RTSP Port", u""},
    };
    EXPECT_EQ(deviceInfoRows(odd, ""), expected);
    EXPECT_EQ(deviceInfoRows(Json::Value(), ""), expected) << "no camera object at all";
    EXPECT_EQ(deviceInfoRows(Json::Value("text"), ""), expected) << "a camera that is not an object";
}

// The document holds camera texts as UTF-8; the record field RTSP URL 1
// comes from keeps the camera's bytes, which may be Latin-1.
TEST(DeviceInfoRows, CameraTextsShowAsTheCameraSentThem) {
    const Json::Value named = camera({{"sDeviceName", "Caf\xC3\xA9"}});
    EXPECT_EQ(deviceInfoRows(named, "")[0].value, u"Caf\u00e9");
    const Json::Value streams = camera({{"sRTSPURL1", "x"}, {"sRTSPURL2", "rtsp://10.0.0.5/2"}});
    for (const char* field : {"rtsp://caf\xe9:554/1", "rtsp://caf\xc3\xa9:554/1"}) {
        const std::vector<InfoRow> rows = deviceInfoRows(streams, field);
        ASSERT_EQ(rows[10].name, u"RTSP URL 1");
        EXPECT_EQ(rows[10].value, u"rtsp://caf\u00e9:554/1") << field;
    }
}

TEST(DeviceInfoRows, WebAndRtspRows) {
    struct Case {
        const char* what;
        Json::Value camera;
        const char* rtspUrl1Field;
        std::vector<InfoRow> fromWebUrl;  // rows 8 onwards
    };
    const char* url1 = "rtsp://10.0.0.5:554/stream1";
    const char* url2 = "rtsp://10.0.0.5:8554/stream2";
    const char* url3 = "rtsp://10.0.0.5:10554/live/3";
    const char* web = "http://10.0.0.5:80";
    const Case cases[] = {
        {"one RTSP URL",
         camera({{"sWebURL", web}, {"sRTSPURL1", url1}}),
         url1,
         {{u"Web URL", u"http://10.0.0.5:80"},
          {u"Web Port", u"80"},
          {u"RTSP URL", u"rtsp://10.0.0.5:554/stream1"},
          {u"RTSP Port", u"554"}}},
        {"two RTSP URLs",
         camera({{"sWebURL", web}, {"sRTSPURL1", url1}, {"sRTSPURL2", url2}}),
         url1,
         {{u"Web URL", u"http://10.0.0.5:80"},
          {u"Web Port", u"80"},
          {u"RTSP URL 1", u"rtsp://10.0.0.5:554/stream1"},
          {u"RTSP Port 1", u"554"},
          {u"RTSP URL 2", u"rtsp://10.0.0.5:8554/stream2"},
          {u"RTSP Port 2", u"8554"}}},
        {"three RTSP URLs",
         camera({{"sWebURL", web}, {"sRTSPURL1", url1}, {"sRTSPURL2", url2}, {"sRTSPURL3", url3}}),
         url1,
         {{u"Web URL", u"http://10.0.0.5:80"},
          {u"Web Port", u"80"},
          {u"RTSP URL 1", u"rtsp://10.0.0.5:554/stream1"},
          {u"RTSP Port 1", u"554"},
          {u"RTSP URL 2", u"rtsp://10.0.0.5:8554/stream2"},
          {u"RTSP Port 2", u"8554"},
          {u"RTSP URL 3", u"rtsp://10.0.0.5:10554/live/3"},
          {u"RTSP Port 3", u"10554"}}},
        {"URLs 1 and 3 without 2",
         camera({{"sWebURL", web}, {"sRTSPURL1", url1}, {"sRTSPURL3", url3}}),
         url1,
         {{u"Web URL", u"http://10.0.0.5:80"},
          {u"Web Port", u"80"},
          {u"RTSP URL", u"rtsp://10.0.0.5:554/stream1"},
          {u"RTSP Port", u"554"},
          {u"RTSP URL 3", u"rtsp://10.0.0.5:10554/live/3"},
          {u"RTSP Port 3", u"10554"}}},
        {"no URL 1 but a URL 2",
         camera({{"sWebURL", web}, {"sRTSPURL2", url2}}),
         "",
         {{u"Web URL", u"http://10.0.0.5:80"},
          {u"Web Port", u"80"},
          {u"RTSP URL", u"N/A"},
          {u"RTSP Port 1", u""},
          {u"RTSP URL 2", u"rtsp://10.0.0.5:8554/stream2"},
          {u"RTSP Port 2", u"8554"}}},
        {"URL 1 is shown from the record",
         camera({{"sRTSPURL1", url1}}),
         "rtsp://record/1",
         {{u"Web URL", u"http://:80"},
          {u"Web Port", u"80"},
          {u"RTSP URL", u"rtsp://record/1"},
          {u"RTSP Port", u"554"}}},
        {"empty web URL with an IP",
         camera({{"sIP", "192.168.1.30"}}),
         "",
         {{u"Web URL", u"http://192.168.1.30:80"}, {u"Web Port", u"80"}, {u"RTSP URL", u"N/A"}, {u"RTSP Port", u""}}},
        {"empty web URL without an IP",
         camera({}),
         "",
         {{u"Web URL", u"http://:80"}, {u"Web Port", u"80"}, {u"RTSP URL", u"N/A"}, {u"RTSP Port", u""}}},
        {"ports followed by paths",
         camera({{"sWebURL", "http://10.0.0.5:8080/index.html"}, {"sRTSPURL1", "rtsp://10.0.0.5:554/live/main"}}),
         "rtsp://10.0.0.5:554/live/main",
         {{u"Web URL", u"http://10.0.0.5:8080/index.html"},
          {u"Web Port", u"8080/index.html"},
          {u"RTSP URL", u"rtsp://10.0.0.5:554/live/main"},
          {u"RTSP Port", u"554"}}},
        {"URLs ending after their port",
         camera({{"sWebURL", "http://10.0.0.5:8080"}, {"sRTSPURL1", "rtsp://10.0.0.5:554"}}),
         "rtsp://10.0.0.5:554",
         {{u"Web URL", u"http://10.0.0.5:8080"},
          {u"Web Port", u"8080"},
          {u"RTSP URL", u"rtsp://10.0.0.5:554"},
          {u"RTSP Port", u""}}},
        {"web URL without explicit port",
         camera({{"sWebURL", "http://10.0.0.5/"}, {"sRTSPURL1", "rtsp:"}}),
         "rtsp:",
         {{u"Web URL", u"http://10.0.0.5/"},
          {u"Web Port", u"//10.0.0.5/"},
          {u"RTSP URL", u"rtsp:"},
          {u"RTSP Port", u""}}},
        {"URLs without any colon",
         camera({{"sWebURL", "camera.local"}, {"sRTSPURL1", "10.0.0.5/live"}}),
         "10.0.0.5/live",
         {{u"Web URL", u"camera.local"},
          {u"Web Port", u"camera.local"},
          {u"RTSP URL", u"10.0.0.5/live"},
          {u"RTSP Port", u"10.0.0.5"}}},
    };
    for (const Case& c : cases) {
        const std::vector<InfoRow> rows = deviceInfoRows(c.camera, c.rtspUrl1Field);
        EXPECT_EQ(rows.size(), 8 + c.fromWebUrl.size()) << c.what;
        EXPECT_EQ(rowsFrom(rows, 8), c.fromWebUrl) << c.what;
    }
}

TEST(JsonTruth, FollowsTheValueType) {
    Json::Value oneMember(Json::arrayValue);
    oneMember.append(0);
    Json::Value object(Json::objectValue);
    object["a"] = false;
    struct Case {
        const char* what;
        Json::Value value;
        bool truth;
    };
    const Case cases[] = {
        {"null", Json::Value(), false},
        {"true", Json::Value(true), true},
        {"false", Json::Value(false), false},
        {"int 0", Json::Value(0), false},
        {"int -1", Json::Value(-1), true},
        {"uint 0", Json::Value(0u), false},
        {"uint 7", Json::Value(7u), true},
        {"real 0.0", Json::Value(0.0), false},
        {"real 0.25", Json::Value(0.25), true},
        {"empty string", Json::Value(""), false},
        {"string \"0\"", Json::Value("0"), true},
        {"string \"false\"", Json::Value("false"), true},
        {"empty array", Json::Value(Json::arrayValue), false},
        {"array of one", oneMember, true},
        {"empty object", Json::Value(Json::objectValue), false},
        {"object of one", object, true},
    };
    for (const Case& c : cases) EXPECT_EQ(jsonTruth(c.value), c.truth) << c.what;

    Json::Value dhcpByString = camera({{"bDHCP", "1"}});
    EXPECT_EQ(deviceInfoRows(dhcpByString, "")[2], (InfoRow{u"DHCP", u"Enable"}));
    Json::Value dhcpOff = camera({});
    dhcpOff["bDHCP"] = 0;
    EXPECT_EQ(deviceInfoRows(dhcpOff, "")[2], (InfoRow{u"DHCP", u"Disable"}));
}
