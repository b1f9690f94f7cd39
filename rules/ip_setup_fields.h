// Which controls of the IP Setup dialog are shown and usable in each layout.
#pragma once

enum class IpSetupLayout {
    SingleDhcp,    // one camera that is to use DHCP: only its name can be edited
    SingleStatic,  // one camera with static settings: everything can be edited
    Multiple,      // several cameras: only the mask and the gateway
};

// The layout the dialog opens in: `addressMode` 0 is DHCP, any other static.
IpSetupLayout openingLayout(bool multiple, int addressMode);

struct FieldState {
    bool visible = true;
    bool enabled = true;
    bool operator==(const FieldState&) const = default;
};

// The controls whose state depends on the layout; the mask and gateway
// labels, Apply and Cancel are always shown and enabled.
struct IpSetupFieldStates {
    FieldState dhcpRadio, staticRadio;
    FieldState nameLabel, nameEdit;
    FieldState macLabel, macEdit;
    FieldState ipLabel, ipEdit;
    FieldState maskEdit, gatewayEdit;
    bool operator==(const IpSetupFieldStates&) const = default;
};

IpSetupFieldStates ipSetupFieldStates(IpSetupLayout layout);
