// What Apply of the IP Setup dialog refuses.
#pragma once

#include <QString>

#include "ip_setup_fields.h"

enum class IpSetupField { None, DeviceName, IpAddress, SubnetMask, Gateway };

struct IpSetupTexts {
    QString deviceName;
    QString ipAddress;
    QString subnetMask;
    QString gateway;
};

struct ApplyRefusal {
    IpSetupField field = IpSetupField::None;  // None: Apply may end the dialog
    QString message;
};

// Whether `text` is a dotted IPv4 address "a.b.c.d", each part 0..255.
bool isDottedIpv4(const QString& text);

// A name longer than 20 UTF-16 code units is refused in every layout. The
// addresses that will be sent are checked too: IP address, mask and gateway
// of a static camera, the mask and gateway shared by several cameras; a DHCP
// camera sends none of its own. Well-formed settings that are unusable (see
// rules::unusableSettings) are refused as well; with several cameras only the
// mask and the gateway, judged against the IP text's subnet.
ApplyRefusal applyRefusal(IpSetupLayout layout, const IpSetupTexts& texts);
