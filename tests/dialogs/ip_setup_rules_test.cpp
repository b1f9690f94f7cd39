#include <gtest/gtest.h>

#include "ip_setup_apply_check.h"
#include "ip_setup_fields.h"

namespace {

constexpr FieldState kShown{true, true};
constexpr FieldState kGreyed{true, false};
constexpr FieldState kHidden{false, false};

const char* nameOf(IpSetupField field) {
    switch (field) {
    case IpSetupField::None:
        return "None";
    case IpSetupField::DeviceName:
        return "DeviceName";
    case IpSetupField::IpAddress:
        return "IpAddress";
    case IpSetupField::SubnetMask:
        return "SubnetMask";
    case IpSetupField::Gateway:
        return "Gateway";
    }
    return "?";
}

}  // namespace

TEST(IpSetupFields, OpeningLayout) {
    EXPECT_EQ(openingLayout(false, 0), IpSetupLayout::SingleDhcp);
    EXPECT_EQ(openingLayout(false, 1), IpSetupLayout::SingleStatic);
    EXPECT_EQ(openingLayout(true, 0), IpSetupLayout::Multiple);
    EXPECT_EQ(openingLayout(true, 1), IpSetupLayout::Multiple);
}

TEST(IpSetupFields, StatesOfEachLayout) {
    const IpSetupFieldStates dhcp = ipSetupFieldStates(IpSetupLayout::SingleDhcp);
    EXPECT_EQ(dhcp, (IpSetupFieldStates{kShown, kShown, kShown, kShown, kShown, kGreyed, kShown, kGreyed,
                                        kGreyed, kGreyed}));

    const IpSetupFieldStates single = ipSetupFieldStates(IpSetupLayout::SingleStatic);
    EXPECT_EQ(single, (IpSetupFieldStates{kShown, kShown, kShown, kShown, kShown, kShown, kShown, kShown, kShown,
                                          kShown}));

    // Several cameras: the IP label stays alone above the mask and the gateway.
    const IpSetupFieldStates multiple = ipSetupFieldStates(IpSetupLayout::Multiple);
    EXPECT_EQ(multiple, (IpSetupFieldStates{kHidden, kHidden, kHidden, kHidden, kHidden, kHidden, kShown, kHidden,
                                            kShown, kShown}));
}

TEST(IpSetupApplyCheck, DottedIpv4) {
    struct Case {
        QString text;
        bool dotted;
    };
    const Case cases[] = {
        {"192.168.0.1", true},      {"0.0.0.0", true},       {"255.255.255.255", true},
        {"", false},                {"192.168.0", false},    {"192.168.0.256", false},
        {" 192.168.0.1", false},    {"192.168.0.1 ", false}, {"192.168.0.1.5", false},
        {"192.168.0.x", false},     {"1.2.3.4/24", false},   {"١٩٢.١٦٨.٠.١", false},
        {QString("1.2.3.4") + QChar(u'\0') + "junk", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isDottedIpv4(c.text), c.dotted) << c.text.toStdString();
}

TEST(IpSetupApplyCheck, RefusesLongNamesAndAddressesThatWillBeSent) {
    const QString twenty(20, QChar(u'n'));
    const QString twentyOne(21, QChar(u'n'));
    // U+1F4F7 is two UTF-16 code units.
    const QString tenCameras = QString::fromUtf8("\xF0\x9F\x93\xB7").repeated(10);
    const QString elevenCameras = tenCameras + QString::fromUtf8("\xF0\x9F\x93\xB7");
    const IpSetupTexts good{"Lobby", "192.168.0.20", "255.255.255.0", "192.168.0.1"};
    auto with = [&good](auto change) {
        IpSetupTexts texts = good;
        change(texts);
        return texts;
    };
    struct Case {
        const char* what;
        IpSetupLayout layout;
        IpSetupTexts texts;
        IpSetupField refused;
    };
    const Case cases[] = {
        {"all good", IpSetupLayout::SingleStatic, good, IpSetupField::None},
        {"20 code units", IpSetupLayout::SingleStatic, with([&](auto& t) { t.deviceName = twenty; }),
         IpSetupField::None},
        {"21 code units", IpSetupLayout::SingleStatic, with([&](auto& t) { t.deviceName = twentyOne; }),
         IpSetupField::DeviceName},
        {"10 surrogate pairs", IpSetupLayout::SingleStatic, with([&](auto& t) { t.deviceName = tenCameras; }),
         IpSetupField::None},
        {"11 surrogate pairs", IpSetupLayout::SingleStatic, with([&](auto& t) { t.deviceName = elevenCameras; }),
         IpSetupField::DeviceName},
        {"long name under DHCP", IpSetupLayout::SingleDhcp, with([&](auto& t) { t.deviceName = twentyOne; }),
         IpSetupField::DeviceName},
        {"long name for several", IpSetupLayout::Multiple, with([&](auto& t) { t.deviceName = twentyOne; }),
         IpSetupField::DeviceName},
        {"name before address", IpSetupLayout::SingleStatic,
         with([&](auto& t) { t.deviceName = twentyOne;
             t.ipAddress = "x"; }), IpSetupField::DeviceName},
        {"static, bad IP", IpSetupLayout::SingleStatic, with([](auto& t) { t.ipAddress = "192.168.0"; }),
         IpSetupField::IpAddress},
        {"static, bad mask", IpSetupLayout::SingleStatic, with([](auto& t) { t.subnetMask = "255.255.255.256"; }),
         IpSetupField::SubnetMask},
        {"static, empty gateway", IpSetupLayout::SingleStatic, with([](auto& t) { t.gateway = ""; }),
         IpSetupField::Gateway},
        {"DHCP checks no address", IpSetupLayout::SingleDhcp, IpSetupTexts{"Lobby", "a", "b", ""},
         IpSetupField::None},
        {"several: the IP is only a prefix", IpSetupLayout::Multiple, with([](auto& t) { t.ipAddress = "junk"; }),
         IpSetupField::None},
        {"several: bad mask", IpSetupLayout::Multiple, with([](auto& t) { t.subnetMask = "255.255.255"; }),
         IpSetupField::SubnetMask},
        {"several: bad gateway", IpSetupLayout::Multiple, with([](auto& t) { t.gateway = "gateway"; }),
         IpSetupField::Gateway},
        {"static, IP 0.0.0.0", IpSetupLayout::SingleStatic, with([](auto& t) { t.ipAddress = "0.0.0.0"; }),
         IpSetupField::IpAddress},
        {"static, broadcast IP", IpSetupLayout::SingleStatic, with([](auto& t) { t.ipAddress = "192.168.0.255"; }),
         IpSetupField::IpAddress},
        {"static, mask with a gap", IpSetupLayout::SingleStatic, with([](auto& t) { t.subnetMask = "255.0.255.0"; }),
         IpSetupField::SubnetMask},
        {"static, gateway elsewhere", IpSetupLayout::SingleStatic,
         with([](auto& t) { t.gateway = "255.255.255.255"; }), IpSetupField::Gateway},
        {"DHCP checks no unusable address", IpSetupLayout::SingleDhcp,
         IpSetupTexts{"Lobby", "0.0.0.0", "0.0.0.0", "1.2.3.4"}, IpSetupField::None},
        {"several: mask 0.0.0.0", IpSetupLayout::Multiple, with([](auto& t) { t.subnetMask = "0.0.0.0"; }),
         IpSetupField::SubnetMask},
        {"several: gateway outside the subnet", IpSetupLayout::Multiple,
         with([](auto& t) { t.gateway = "192.168.7.1"; }), IpSetupField::Gateway},
        {"several: the IP is not sent", IpSetupLayout::Multiple, with([](auto& t) { t.ipAddress = "192.168.0.255"; }),
         IpSetupField::None},
    };
    for (const Case& c : cases) {
        const ApplyRefusal refusal = applyRefusal(c.layout, c.texts);
        EXPECT_STREQ(nameOf(refusal.field), nameOf(c.refused)) << c.what;
        EXPECT_EQ(refusal.message.isEmpty(), c.refused == IpSetupField::None) << c.what;
    }
}

TEST(IpSetupApplyCheck, Messages) {
    EXPECT_EQ(applyRefusal(IpSetupLayout::SingleDhcp, {QString(21, QChar(u'n')), {}, {}, {}}).message.toStdString(),
              "Device name of characters can not exceed 20 characters in length.");
    EXPECT_EQ(applyRefusal(IpSetupLayout::SingleStatic, {"Lobby", "1.2.3.4", "1.2.3", "1.2.3.4"}).message.toStdString(),
              "The subnet mask \"1.2.3\" is not an IPv4 address.\n"
              "Please enter four numbers from 0 to 255 separated by dots.");
    EXPECT_EQ(applyRefusal(IpSetupLayout::SingleStatic, {"Lobby", "192.168.0.0", "255.255.255.0", "192.168.0.1"})
                  .message.toStdString(),
              "The IP address 192.168.0.0 is the network address of subnet mask 255.255.255.0.");
}
