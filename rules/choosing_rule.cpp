#include "choosing_rule.h"

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
    choice.target = choice.cameras.back();
    return choice;
}

}  // namespace rules
