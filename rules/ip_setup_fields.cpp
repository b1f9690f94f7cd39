#include "ip_setup_fields.h"

#include <initializer_list>

IpSetupLayout openingLayout(bool multiple, int addressMode) {
    if (multiple) return IpSetupLayout::Multiple;
    return addressMode == 0 ? IpSetupLayout::SingleDhcp : IpSetupLayout::SingleStatic;
}

IpSetupFieldStates ipSetupFieldStates(IpSetupLayout layout) {
    IpSetupFieldStates states;
    switch (layout) {
    case IpSetupLayout::SingleStatic:
        break;
    case IpSetupLayout::SingleDhcp:
        // The camera's addresses come from its DHCP server.
        states.macEdit.enabled = states.ipEdit.enabled = false;
        states.maskEdit.enabled = states.gatewayEdit.enabled = false;
        break;
    case IpSetupLayout::Multiple:
        // Each camera's own name, MAC and address stay; the addresses are handed out in turn.
        for (FieldState* hidden : {&states.dhcpRadio, &states.staticRadio, &states.nameLabel, &states.nameEdit,
                                   &states.macLabel, &states.macEdit, &states.ipEdit})
            *hidden = {false, false};
        break;
    }
    return states;
}
