#include "choosing_rule.h"

#include "text.h"

namespace rules {

namespace {

struct Messages {
    const char16_t* notSearched;
    const char16_t* moreThanOne;  // null: several cameras are configured together
};

Messages messagesOf(Command command) {
    switch (command) {
    case Command::IpSetup:
        return {u"The IP camera did not search!!\nWould you like to click search button!!", nullptr};
    case Command::Restore:
        return {u"The IP camera did not search\nWould you like to click search button!!",
                u"There are more two checked IP camera\nWould you like to check  the one of IP camera!!"};
    case Command::WebBrowser:
        return {u"The IP cmaera did not search\nWould you like to click search button!!",
                u"Can not select more then two IP cameras\nWould like to check one IP camera."};
    case Command::DeviceInfo:
        return {u"The IP Camera did not search\nWould you like to click search button!!",
                u"Can not select more then two IP cameras\nWould like to check one IP camera."};
    }
    return {};
}

bool sendsRequests(Command command) { return command == Command::IpSetup || command == Command::Restore; }

// Says which other camera of the search reports the MAC address of a chosen one.
std::u16string sharedMacMessage(const ListState& list, const std::vector<int>& chosen) {
    for (int camera : chosen) {
        if (camera < 0 || camera >= static_cast<int>(list.cameras.size())) continue;
        const CameraKey& key = list.cameras[static_cast<size_t>(camera)];
        for (size_t other = 0; other < list.cameras.size(); ++other) {
            if (static_cast<int>(other) == camera || list.cameras[other].mac != key.mac) continue;
            return u"The cameras at " + zelk::widenText(key.ip) + u" and " + zelk::widenText(list.cameras[other].ip) +
                   u" report the same MAC address " + zelk::widenText(key.mac) +
                   u".\nBoth would obey a request meant for one of them: nothing was sent.";
        }
    }
    return {};
}

}  // namespace

Choice chooseCameras(Command command, const ListState& list) {
    const Messages messages = messagesOf(command);
    Choice choice;
    if (!list.searched) {
        choice.message = messages.notSearched;
        return choice;
    }
    for (size_t row = 0; row < list.rowCamera.size(); ++row) {
        if (row < list.rowChecked.size() && list.rowChecked[row]) choice.cameras.push_back(list.rowCamera[row]);
    }
    if (choice.cameras.empty()) {
        const bool current = list.currentRow >= 0 && list.currentRow < static_cast<int>(list.rowCamera.size());
        if (!current) {
            choice.message = u"There is no checked IP camera\nWould you like to check IP camera!!";
            return choice;
        }
        choice.cameras.push_back(list.rowCamera[static_cast<size_t>(list.currentRow)]);
    } else if (choice.cameras.size() > 1 && messages.moreThanOne != nullptr) {
        choice.message = messages.moreThanOne;
        choice.cameras.clear();
        return choice;
    }
    if (sendsRequests(command)) {
        choice.message = sharedMacMessage(list, choice.cameras);
        if (!choice.message.empty()) {
            choice.cameras.clear();
            return choice;
        }
    }
    choice.target = choice.cameras.back();
    return choice;
}

int rowOfCamera(const ListState& list, const CameraKey& camera) {
    int sameMac = -1;
    int sameMacRows = 0;
    for (size_t row = 0; row < list.rowCamera.size(); ++row) {
        const int shown = list.rowCamera[row];
        if (shown < 0 || shown >= static_cast<int>(list.cameras.size())) continue;
        const CameraKey& key = list.cameras[static_cast<size_t>(shown)];
        if (key.mac != camera.mac) continue;
        if (key.ip == camera.ip) return static_cast<int>(row);
        sameMac = static_cast<int>(row);
        ++sameMacRows;
    }
    return sameMacRows == 1 ? sameMac : -1;
}

}  // namespace rules
