#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "ip_setup_dialog.h"
#include "modal_steps.h"
#include "screenshot.h"

namespace {

template <class T>
T* child(QWidget* dialog, const char* name) {
    T* found = dialog->findChild<T*>(QLatin1StringView(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QLineEdit* edit(QWidget* dialog, const char* name) { return child<QLineEdit>(dialog, name); }

QPushButton* buttonNamed(QWidget* dialog, const char* text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == QLatin1StringView(text)) return button;
    ADD_FAILURE() << "no button " << text;
    return nullptr;
}

FieldState stateOf(QWidget* widget) { return {widget->isVisible(), widget->isEnabled()}; }

IpSetupFieldStates shownStates(QWidget* dialog) {
    return {stateOf(child<QRadioButton>(dialog, "dhcpRadio")),
            stateOf(child<QRadioButton>(dialog, "staticIpRadio")),
            stateOf(child<QLabel>(dialog, "deviceNameLabel")),
            stateOf(edit(dialog, "deviceNameEdit")),
            stateOf(child<QLabel>(dialog, "macAddressLabel")),
            stateOf(edit(dialog, "macAddressEdit")),
            stateOf(child<QLabel>(dialog, "ipAddressLabel")),
            stateOf(edit(dialog, "ipAddressEdit")),
            stateOf(edit(dialog, "subnetMaskEdit")),
            stateOf(edit(dialog, "gatewayEdit"))};
}

// A camera "Lobby" at 192.168.0.20/24, opened as the flow opens it.
class IpSetupDialog : public testing::Test {
protected:
    void open(bool dhcp, bool multiple = false) {
        dialog.m_strDeviceName = "Lobby";
        dialog.m_strMacAddress = "00:11:22:33:44:55";
        dialog.m_strIpAddress = "192.168.0.20";
        dialog.m_strSubnetMask = "255.255.255.0";
        dialog.m_strGateway = "192.168.0.1";
        dialog.m_nAddressMode = dhcp ? 0 : 1;
        dialog.m_bMultiple = multiple ? 1 : 0;
        dialog.m_target = {"Lobby", "255.255.255.0", dhcp};
    }

    // Shows the dialog, runs `steps` inside it and returns DoModal's result.
    int run(std::function<void(CIPSetupDlg*)> steps) {
        onNextModal<CIPSetupDlg>(std::move(steps));
        return dialog.DoModal();
    }

    CIPSetupDlg dialog;
    MessageWatch messages;
};

}  // namespace

TEST_F(IpSetupDialog, StartsWithTheTableValues) {
    EXPECT_EQ(dialog.m_nFirstHost, 1);
    EXPECT_EQ(dialog.m_nLastHost, 255);
    EXPECT_EQ(dialog.m_bDhcp, 0);
    EXPECT_EQ(dialog.m_bMultiple, 0);
    EXPECT_EQ(dialog.m_nAddressMode, 0);
    EXPECT_TRUE(dialog.m_strDeviceName.isEmpty());
    EXPECT_EQ(dialog.windowTitle().toStdString(), "IP Setup");
}

TEST_F(IpSetupDialog, OpensInTheCameraLayout) {
    struct Case {
        const char* what;
        bool dhcp;
        bool multiple;
        IpSetupLayout layout;
        const char* screenshot;
    };
    const Case cases[] = {
        {"DHCP camera", true, false, IpSetupLayout::SingleDhcp, nullptr},
        {"static camera", false, false, IpSetupLayout::SingleStatic, "ip_setup_single"},
        {"several cameras", false, true, IpSetupLayout::Multiple, "ip_setup_multiple"},
    };
    for (const Case& c : cases) {
        open(c.dhcp, c.multiple);
        const int result = run([&c](CIPSetupDlg* shown) {
            EXPECT_EQ(shownStates(shown), ipSetupFieldStates(c.layout)) << c.what;
            EXPECT_EQ(child<QRadioButton>(shown, "dhcpRadio")->isChecked(), c.dhcp) << c.what;
            EXPECT_EQ(edit(shown, "deviceNameEdit")->text().toStdString(), "Lobby");
            EXPECT_TRUE(edit(shown, "macAddressEdit")->isReadOnly());
            if (c.screenshot != nullptr) saveScreenshot(shown, c.screenshot);
            shown->OnBnClickedCancel();
        });
        EXPECT_EQ(result, IDCANCEL) << c.what;
    }
}

TEST_F(IpSetupDialog, MultipleLayoutMovesMaskAndGatewayUp) {
    int singleMaskTop = 0;
    open(false);
    run([&singleMaskTop](CIPSetupDlg* shown) {
        singleMaskTop = edit(shown, "subnetMaskEdit")->y();
        shown->reject();
    });
    open(false, true);
    run([singleMaskTop](CIPSetupDlg* shown) {
        const int ipLabel = child<QLabel>(shown, "ipAddressLabel")->y();
        const int mask = edit(shown, "subnetMaskEdit")->y();
        const int gateway = edit(shown, "gatewayEdit")->y();
        EXPECT_LT(ipLabel, mask);
        EXPECT_LT(mask, gateway);
        EXPECT_LT(mask, singleMaskTop) << "the hidden rows leave no gap";
        EXPECT_LT(ipLabel, child<QLabel>(shown, "subnetMaskLabel")->y());
        shown->reject();
    });
}

TEST_F(IpSetupDialog, DhcpAndStaticSwitchTheEdits) {
    open(false);
    run([](CIPSetupDlg* shown) {
        edit(shown, "subnetMaskEdit")->setText("255.255.0.0");
        child<QRadioButton>(shown, "dhcpRadio")->click();
        EXPECT_EQ(edit(shown, "subnetMaskEdit")->text().toStdString(), "255.255.255.0") << "the camera's mask is back";
        EXPECT_EQ(shownStates(shown), ipSetupFieldStates(IpSetupLayout::SingleDhcp));
        EXPECT_EQ(shown->m_bDhcp, 1);
        child<QRadioButton>(shown, "staticIpRadio")->click();
        EXPECT_EQ(shownStates(shown), ipSetupFieldStates(IpSetupLayout::SingleStatic));
        EXPECT_EQ(shown->m_bDhcp, 0);
        shown->reject();
    });
}

TEST_F(IpSetupDialog, ApplyReturnsTheDhcpChoice) {
    struct Case {
        const char* what;
        bool cameraDhcp;
        const char* press;  // radio pressed before Apply, or none
        int dhcp;
        int addressMode;
    };
    const Case cases[] = {
        {"static camera, nothing pressed", false, nullptr, 0, 1},
        {"DHCP camera, nothing pressed", true, nullptr, 1, 0},
        {"static camera, DHCP pressed", false, "dhcpRadio", 1, 0},
        {"DHCP camera, Static IP pressed", true, "staticIpRadio", 0, 1},
        {"static camera, Static IP pressed", false, "staticIpRadio", 0, 1},
    };
    for (const Case& c : cases) {
        open(c.cameraDhcp);
        const int result = run([&c](CIPSetupDlg* shown) {
            if (c.press != nullptr) child<QRadioButton>(shown, c.press)->click();
            buttonNamed(shown, "Apply")->click();
        });
        EXPECT_EQ(result, IDOK) << c.what;
        EXPECT_EQ(dialog.m_bDhcp, c.dhcp) << c.what;
        EXPECT_EQ(dialog.m_nAddressMode, c.addressMode) << c.what;
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(IpSetupDialog, NameOfTwentyIsTakenAndOfTwentyOneRefused) {
    open(false);
    const QString twenty = QStringLiteral("Entrance-Camera-0001");
    ASSERT_EQ(twenty.size(), 20);
    const int result = run([&](CIPSetupDlg* shown) {
        QLineEdit* name = edit(shown, "deviceNameEdit");
        name->setText(twenty + "X");
        buttonNamed(shown, "Apply")->click();
        EXPECT_TRUE(shown->isVisible()) << "the dialog stays open";
        EXPECT_EQ(name->text().toStdString(), "Lobby") << "the camera's name is back";
        name->setText(twenty);
        buttonNamed(shown, "Apply")->click();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_strDeviceName, twenty);
    ASSERT_EQ(messages.shown().size(), 1u);
    expectErrorBox(messages.shown()[0], "Device name of characters can not exceed 20 characters in length.");
}

TEST_F(IpSetupDialog, RefusesAnAddressThatIsNotDottedIpv4) {
    open(false);
    const int result = run([](CIPSetupDlg* shown) {
        edit(shown, "ipAddressEdit")->setText("192.168.0");
        buttonNamed(shown, "Apply")->click();
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(edit(shown, "ipAddressEdit")->text().toStdString(), "192.168.0") << "kept for correction";
        edit(shown, "ipAddressEdit")->setText("192.168.0.21");
        buttonNamed(shown, "Apply")->click();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_strIpAddress.toStdString(), "192.168.0.21");
    ASSERT_EQ(messages.shown().size(), 1u);
    expectErrorBox(messages.shown()[0],
                   "The IP address \"192.168.0\" is not an IPv4 address.\n"
                   "Please enter four numbers from 0 to 255 separated by dots.");
}

TEST_F(IpSetupDialog, MultipleLayoutChecksMaskAndGatewayAndKeepsTheRest) {
    open(true, true);
    dialog.m_strIpAddress = "192.168.0.20";
    const int result = run([](CIPSetupDlg* shown) {
        edit(shown, "gatewayEdit")->setText("gateway");
        buttonNamed(shown, "Apply")->click();
        EXPECT_TRUE(shown->isVisible());
        edit(shown, "gatewayEdit")->setText("192.168.0.254");
        edit(shown, "subnetMaskEdit")->setText("255.255.0.0");
        buttonNamed(shown, "Apply")->click();
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("The gateway \"gateway\""));
    EXPECT_EQ(dialog.m_strDeviceName.toStdString(), "Lobby");
    EXPECT_EQ(dialog.m_strMacAddress.toStdString(), "00:11:22:33:44:55");
    EXPECT_EQ(dialog.m_strIpAddress.toStdString(), "192.168.0.20");
    EXPECT_EQ(dialog.m_strSubnetMask.toStdString(), "255.255.0.0");
    EXPECT_EQ(dialog.m_strGateway.toStdString(), "192.168.0.254");
    EXPECT_EQ(dialog.m_bDhcp, 1) << "the selected camera's own DHCP state";
    EXPECT_EQ(dialog.m_nFirstHost, 1);
    EXPECT_EQ(dialog.m_nLastHost, 255);
}

TEST_F(IpSetupDialog, DhcpModeChecksNoAddress) {
    open(true);
    dialog.m_strSubnetMask = "not a mask";
    EXPECT_EQ(run([](CIPSetupDlg* shown) { buttonNamed(shown, "Apply")->click(); }), IDOK);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(IpSetupDialog, CancelEscapeAndEnterLeaveTheMembers) {
    struct Case {
        const char* what;
        std::function<void(CIPSetupDlg*)> leave;
    };
    const Case cases[] = {
        {"Cancel", [](CIPSetupDlg* shown) { buttonNamed(shown, "Cancel")->click(); }},
        {"Escape", [](CIPSetupDlg* shown) { QTest::keyClick(shown, Qt::Key_Escape); }},
        {"Enter, then Escape",
         [](CIPSetupDlg* shown) {
             // Enter must not end the dialog past Apply's checks.
             QTest::keyClick(edit(shown, "deviceNameEdit"), Qt::Key_Return);
             EXPECT_TRUE(shown->isVisible());
             QTest::keyClick(shown, Qt::Key_Escape);
         }},
    };
    for (const Case& c : cases) {
        open(false);
        const int result = run([&c](CIPSetupDlg* shown) {
            edit(shown, "deviceNameEdit")->setText("A name much longer than twenty");
            c.leave(shown);
        });
        EXPECT_EQ(result, IDCANCEL) << c.what;
        EXPECT_EQ(dialog.m_strDeviceName.toStdString(), "Lobby") << c.what;
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(IpSetupDialog, MultipleLayoutWalksTheHostRangeTypedAndSendsNoName) {
    open(true, true);
    dialog.m_strDeviceName = QString(27, u'n');  // names are not sent to several cameras
    std::vector<QString> refusedTexts;
    const int result = run([&refusedTexts](CIPSetupDlg* shown) {
        EXPECT_EQ(child<QLabel>(shown, "hostPrefixLabel")->text().toStdString(), "192.168.0.");
        QLineEdit* first = edit(shown, "firstHostEdit");
        QLineEdit* last = edit(shown, "lastHostEdit");
        EXPECT_TRUE(first->isVisible());
        EXPECT_EQ(first->text().toStdString(), "1");
        EXPECT_EQ(last->text().toStdString(), "255");
        for (const auto& [from, to] : std::vector<std::pair<QString, QString>>{{"40", "10"}, {"", "255"}}) {
            first->setText(from);
            last->setText(to);
            buttonNamed(shown, "Apply")->click();
            if (shown->isVisible()) refusedTexts.push_back(from + "~" + to);
        }
        first->setText("10");
        last->setText("40");
        buttonNamed(shown, "Apply")->click();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(refusedTexts, (std::vector<QString>{"40~10", "~255"}));
    ASSERT_EQ(messages.shown().size(), 2u);
    expectErrorBox(messages.shown()[0], "The host numbers of the range must be whole numbers from 0 to 255, "
                                        "the first not above the last.");
    EXPECT_EQ(dialog.m_nFirstHost, 10);
    EXPECT_EQ(dialog.m_nLastHost, 40);
}

TEST_F(IpSetupDialog, TheHostRangeShowsInTheMultipleLayoutOnly) {
    open(false);
    run([](CIPSetupDlg* shown) {
        EXPECT_FALSE(edit(shown, "firstHostEdit")->isVisible());
        EXPECT_TRUE(edit(shown, "ipAddressEdit")->isVisible());
        shown->reject();
    });
}
