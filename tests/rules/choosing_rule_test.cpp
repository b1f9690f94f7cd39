#include <gtest/gtest.h>

#include "choosing_rule.h"

namespace {

using rules::Command;

const std::u16string NOTHING_CHECKED = u"There is no checked IP camera\nWould you like to check IP camera!!";

rules::ListState listOf(int rows, std::vector<int> checked, int currentRow, bool searched = true) {
    rules::ListState list;
    list.searched = searched;
    for (int r = 0; r < rows; ++r) {
        list.rowCamera.push_back(r);
        list.cameras.push_back({"02-00-00-00-00-0" + std::to_string(r), "10.0.0." + std::to_string(r)});
    }
    list.rowChecked.assign(static_cast<size_t>(rows), false);
    for (int r : checked) list.rowChecked[static_cast<size_t>(r)] = true;
    list.currentRow = currentRow;
    return list;
}

TEST(ChoosingRule, EachCommandsMessagesAndChoices) {
    struct Case {
        Command command;
        rules::ListState list;
        std::u16string message;
        std::vector<int> cameras;
        int target;
    };
    const Case cases[] = {
        {Command::IpSetup, listOf(3, {}, 1, false),
         u"The IP camera did not search!!\nWould you like to click search button!!", {}, -1},
        {Command::Restore, listOf(3, {0}, 1, false),
         u"The IP camera did not search\nWould you like to click search button!!", {}, -1},
        {Command::WebBrowser, listOf(3, {}, 1, false),
         u"The IP cmaera did not search\nWould you like to click search button!!", {}, -1},
        {Command::DeviceInfo, listOf(3, {}, 1, false),
         u"The IP Camera did not search\nWould you like to click search button!!", {}, -1},
        // No checked row: the current item, or the message.
        {Command::DeviceInfo, listOf(3, {}, 2), u"", {2}, 2},
        {Command::Restore, listOf(3, {}, -1), NOTHING_CHECKED, {}, -1},
        // A row clicked before a search that found fewer cameras names nothing.
        {Command::WebBrowser, listOf(2, {}, 3), NOTHING_CHECKED, {}, -1},
        {Command::IpSetup, listOf(0, {}, 0), NOTHING_CHECKED, {}, -1},
        // One checked row wins over the current item.
        {Command::Restore, listOf(3, {0}, 2), u"", {0}, 0},
        // Several checked rows: IP Setup takes them all, the others refuse even with a current item.
        {Command::IpSetup, listOf(4, {1, 3}, 0), u"", {1, 3}, 3},
        {Command::Restore, listOf(4, {1, 3}, 0),
         u"There are more two checked IP camera\nWould you like to check  the one of IP camera!!", {}, -1},
        {Command::WebBrowser, listOf(4, {1, 3}, 0),
         u"Can not select more then two IP cameras\nWould like to check one IP camera.", {}, -1},
        {Command::DeviceInfo, listOf(4, {0, 1}, -1),
         u"Can not select more then two IP cameras\nWould like to check one IP camera.", {}, -1},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const rules::Choice choice = rules::chooseCameras(c.command, c.list);
        EXPECT_EQ(choice.message, c.message) << "case " << i;
        EXPECT_EQ(choice.cameras, c.cameras) << "case " << i;
        EXPECT_EQ(choice.target, c.target) << "case " << i;
    }
}

TEST(ChoosingRule, RowsNameTheirOwnCameras) {
    // After the model filter, row 1 shows camera 2.
    rules::ListState list;
    list.searched = true;
    list.rowCamera = {0, 2};
    list.cameras = {{"m0", "a0"}, {"m1", "a1"}, {"m2", "a2"}};
    list.rowChecked = {false, false};
    list.currentRow = 1;
    EXPECT_EQ(rules::chooseCameras(Command::DeviceInfo, list).cameras, std::vector<int>{2});
    list.rowChecked = {true, true};
    EXPECT_EQ(rules::chooseCameras(Command::IpSetup, list).target, 2);
}

TEST(ChoosingRule, CommandsThatSendStopWhenTheirCameraSharesItsMac) {
    const std::u16string shared =
        u"The cameras at 10.0.0.2 and 10.0.0.0 report the same MAC address 02-00-00-00-00-0.\n"
        u"Both would obey a request meant for one of them: nothing was sent.";
    struct Case {
        Command command;
        std::vector<int> checked;
        int currentRow;
        std::u16string message;
        std::vector<int> cameras;
    };
    // Cameras 0 and 2 report one MAC address; camera 1 its own.
    const Case cases[] = {
        {Command::Restore, {}, 2, shared, {}},
        {Command::IpSetup, {}, 2, shared, {}},
        {Command::IpSetup, {1, 2}, -1, shared, {}},  // one of several checked cameras is enough
        {Command::Restore, {}, 1, u"", {1}},
        {Command::IpSetup, {1}, 0, u"", {1}},
        // Reading what the last search reported sends nothing.
        {Command::WebBrowser, {}, 2, u"", {2}},
        {Command::DeviceInfo, {2}, -1, u"", {2}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        rules::ListState list = listOf(3, cases[i].checked, cases[i].currentRow);
        list.cameras[0].mac = list.cameras[2].mac = "02-00-00-00-00-0";
        const rules::Choice choice = rules::chooseCameras(cases[i].command, list);
        EXPECT_EQ(choice.message, cases[i].message) << "case " << i;
        EXPECT_EQ(choice.cameras, cases[i].cameras) << "case " << i;
    }
}

TEST(ChoosingRule, ACameraIsFoundAgainByItsMacAndIpAddress) {
    rules::ListState list;
    list.cameras = {{"A", "10.0.0.5"}, {"B", "10.0.0.6"}, {"C", "10.0.0.7"}, {"C", "10.0.0.8"}};
    list.rowCamera = {3, 1, 0, 2};  // another reply order than the cameras'
    struct Case {
        const char* what;
        rules::CameraKey camera;
        int row;
    };
    const Case cases[] = {
        {"MAC and IP address", {"A", "10.0.0.5"}, 2},
        {"its only reply, at a new address", {"B", "10.0.0.99"}, 1},
        {"one of two replies of one MAC, told apart by IP", {"C", "10.0.0.7"}, 3},
        {"two replies of its MAC, neither at its address", {"C", "10.0.0.9"}, -1},
        {"gone", {"D", "10.0.0.5"}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(rules::rowOfCamera(list, c.camera), c.row) << c.what;
    list.rowCamera = {1};  // the filter shows camera 1 alone: a hidden camera has no row
    EXPECT_EQ(rules::rowOfCamera(list, {"A", "10.0.0.5"}), -1);
}

}  // namespace
