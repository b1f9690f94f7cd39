#include "ip_setup_apply_check.h"

#include <QByteArray>

#include "ipv4_text.h"
#include "network_settings.h"

namespace {

constexpr qsizetype kMaxDeviceName = 20;

ApplyRefusal addressRefusal(IpSetupField field, const QString& what, const QString& text) {
    return {field, QStringLiteral("The %1 \"%2\" is not an IPv4 address.\n"
                                  "Please enter four numbers from 0 to 255 separated by dots.")
                       .arg(what, text)};
}

IpSetupField fieldOf(rules::SettingsField field) {
    switch (field) {
    case rules::SettingsField::Address:
        return IpSetupField::IpAddress;
    case rules::SettingsField::Mask:
        return IpSetupField::SubnetMask;
    case rules::SettingsField::Gateway:
        return IpSetupField::Gateway;
    }
    return IpSetupField::None;
}

}  // namespace

bool isDottedIpv4(const QString& text) {
    // A zero would end the text early once it is stored as 8-bit text.
    if (text.contains(QChar(u'\0'))) return false;
    const QByteArray bytes = text.toUtf8();
    return zelk::dottedAddress(bytes.constData(), static_cast<size_t>(bytes.size())).has_value();
}

ApplyRefusal applyRefusal(IpSetupLayout layout, const IpSetupTexts& texts) {
    if (texts.deviceName.size() > kMaxDeviceName)
        return {IpSetupField::DeviceName,
                QStringLiteral("Device name of characters can not exceed 20 characters in length.")};
    if (layout == IpSetupLayout::SingleDhcp) return {};
    if (layout == IpSetupLayout::SingleStatic && !isDottedIpv4(texts.ipAddress))
        return addressRefusal(IpSetupField::IpAddress, QStringLiteral("IP address"), texts.ipAddress);
    if (!isDottedIpv4(texts.subnetMask))
        return addressRefusal(IpSetupField::SubnetMask, QStringLiteral("subnet mask"), texts.subnetMask);
    if (!isDottedIpv4(texts.gateway))
        return addressRefusal(IpSetupField::Gateway, QStringLiteral("gateway"), texts.gateway);
    // Well-formed settings that would still cut a camera off. Several cameras
    // get addresses of the walk, not the IP text, which only lends its subnet.
    const auto problem = rules::unusableSettings(texts.ipAddress.toStdString(), texts.subnetMask.toStdString(),
                                                 texts.gateway.toStdString());
    if (problem && (layout == IpSetupLayout::SingleStatic || problem->field != rules::SettingsField::Address))
        return {fieldOf(problem->field), QString::fromStdString(problem->message)};
    return {};
}
