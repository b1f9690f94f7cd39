// The camera commands against a fake camera list: what they ask of the list,
// what they show and what they send. The process runs in a private network
// namespace, so that a command sending by mistake reaches nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <cstdio>
#include <functional>

#include "camera_commands.h"
#include "fake_camera_list.h"
#include "ip_setup_dialog.h"
#include "ip_setup_flow.h"
#include "modal_steps.h"
#include "password_dialog.h"
#include "private_network.h"
#include "restore_flow.h"
#include "trace_capture.h"
#include "dialogs_testing.h"

namespace {

void typePassword(const QString& text) {
    onNextModal<CPasswordDlg>([text](CPasswordDlg* prompt) {
        auto* edit = prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit"));
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

TEST(CameraCommands, AWrongPasswordSendsNothing) {
    using Flow = void (*)(CameraListHost&);
    for (const Flow flow : {Flow(&runRestore), Flow(&runIpSetup)}) {
        FakeCameraList cameras(3);
        cameras.list.rowChecked[1] = true;
        TraceCapture trace;  // every request the library sends leaves trace lines
        MessageWatch messages;
        typePassword(QStringLiteral("pw0"));  // camera 0's, not camera 1's
        flow(cameras);
        ASSERT_EQ(messages.shown().size(), 1u);
        expectErrorBox(messages.shown()[0], QStringLiteral("The password does not match\nPlease re-try again!!"));
        EXPECT_TRUE(trace.lines.empty());
        EXPECT_EQ(cameras.searches, 0);
        EXPECT_TRUE(cameras.selected.empty());
        EXPECT_TRUE(cameras.errors.empty());
    }
}

TEST(CameraCommands, WebBrowserOpensThePageOfTheChosenCamera) {
    const QString moreThanOne =
        QStringLiteral("Can not select more then two IP cameras\nWould like to check one IP camera.");
    struct Case {
        const char* what;
        std::vector<int> rowCamera;
        std::vector<bool> rowChecked;
        int currentRow;
        int expected;     // the camera whose page opens, -1 for none
        QString message;  // what is shown instead
    };
    const Case cases[] = {
        {"the checked row's camera, after the filter", {2, 0}, {true, false}, 1, 2, {}},
        {"the current row when none is checked", {2, 0, 1}, {false, false, false}, 2, 1, {}},
        {"two checked", {0, 1}, {true, true}, -1, -1, moreThanOne},
        {"a current row the last search no longer has", {0}, {false}, 3, -1,
         QStringLiteral("There is no checked IP camera\nWould you like to check IP camera!!")},
    };
    for (const Case& c : cases) {
        FakeCameraList cameras(3);
        cameras.list.rowCamera = c.rowCamera;
        cameras.list.rowChecked = c.rowChecked;
        cameras.list.currentRow = c.currentRow;
        std::vector<QString> opened;
        setWebPageOpenerForTests([&opened](const QString& url) { opened.push_back(url); });
        runWebBrowser(cameras);
        setWebPageOpenerForTests({});
        if (c.expected < 0) {
            EXPECT_TRUE(opened.empty()) << c.what;
            EXPECT_TRUE(cameras.selected.empty()) << c.what;
            ASSERT_EQ(cameras.errors.size(), 1u) << c.what;
            EXPECT_EQ(cameras.errors[0], c.message) << c.what;
            continue;
        }
        EXPECT_EQ(opened, std::vector<QString>{QStringLiteral("http://cam%1").arg(c.expected)}) << c.what;
        EXPECT_EQ(cameras.selected, std::vector<rules::CameraKey>{cameras.cameraKey(c.expected)}) << c.what;
        EXPECT_TRUE(cameras.errors.empty()) << c.what;
    }
}

TEST(CameraCommands, NothingIsAskedBeforeASearch) {
    FakeCameraList cameras(2);
    cameras.list.searched = false;
    cameras.list.rowChecked[0] = true;
    MessageWatch messages;
    runRestore(cameras);  // a password prompt would wait here: none may show
    runDeviceInfoOfRow(cameras, 0);
    ASSERT_EQ(cameras.errors.size(), 2u);
    EXPECT_EQ(cameras.errors[0], "The IP camera did not search\nWould you like to click search button!!");
    EXPECT_EQ(cameras.errors[1], "The IP camera did not search\nWould you like to click search button!!");
    EXPECT_TRUE(messages.shown().empty());
}

TEST(CameraCommands, WebBrowserOpensOnlyWebAddressesWithAHost) {
    const QString notWeb = QStringLiteral("It is not an http or https address with a host, so it was not opened.");
    struct Case {
        const char* url;
        bool opens;
    };
    const Case cases[] = {
        {"http://192.168.1.22:8080/index.html", true},
        {"HTTPS://cam.example", true},
        {"", false},
        {"--proxy-server=evil:1 http://x", false},  // would reach the browser's command line as an option
        {"-http://x", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"http://", false},
        {" http://192.168.1.22", false},
        {"smb://192.168.1.22/share", false},
    };
    for (const Case& c : cases) {
        FakeCameraList cameras(1);
        cameras.list.currentRow = 0;
        zelk::setField(cameras.records[0].webUrl, c.url);
        std::vector<QString> opened;
        setWebPageOpenerForTests([&opened](const QString& url) { opened.push_back(url); });
        runWebBrowser(cameras);
        setWebPageOpenerForTests({});
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u) << c.url;
        EXPECT_EQ(cameras.selected.size(), 1u) << c.url << ": the row is selected either way";
        if (c.opens) {
            EXPECT_TRUE(cameras.errors.empty()) << c.url;
            continue;
        }
        ASSERT_EQ(cameras.errors.size(), 1u) << c.url;
        if (*c.url == '\0') EXPECT_EQ(cameras.errors[0], "The camera reported no web address, so no web page was opened.");
        else EXPECT_EQ(cameras.errors[0], QStringLiteral("The camera reported the web address \"%1\".\n").arg(c.url) + notWeb);
    }
}

// Every message the list commands show, character by character.
TEST(CameraCommands, TheCommandsMessages) {
    using Run = std::function<void(FakeCameraList&)>;
    const Run ipSetup = [](FakeCameraList& l) { runIpSetup(l); };
    const Run restore = [](FakeCameraList& l) { runRestore(l); };
    const Run web = [](FakeCameraList& l) { runWebBrowser(l); };
    const Run info = [](FakeCameraList& l) { runDeviceInfo(l); };
    enum class Setup { NotSearched, NoCurrent, TwoChecked, FirstChecked };
    struct Case {
        const char* what;
        Setup setup;
        Run run;
        const char* text;
    };
    const Case cases[] = {
        {"IP Setup before a search", Setup::NotSearched, ipSetup,
         "The IP camera did not search!!\nWould you like to click search button!!"},
        {"Restore before a search", Setup::NotSearched, restore,
         "The IP camera did not search\nWould you like to click search button!!"},
        {"Web Browser before a search", Setup::NotSearched, web,
         "The IP cmaera did not search\nWould you like to click search button!!"},
        {"Device Info before a search", Setup::NotSearched, info,
         "The IP Camera did not search\nWould you like to click search button!!"},
        {"double click before a search", Setup::NotSearched, [](FakeCameraList& l) { runDeviceInfoOfRow(l, 0); },
         "The IP camera did not search\nWould you like to click search button!!"},
        {"double click on no row", Setup::NoCurrent, [](FakeCameraList& l) { runDeviceInfoOfRow(l, -1); },
         "The IP camera does not select\nWould you like to click to IP camera list"},
        {"IP Setup with no camera", Setup::NoCurrent, ipSetup,
         "There is no checked IP camera\nWould you like to check IP camera!!"},
        {"Restore with no camera", Setup::NoCurrent, restore,
         "There is no checked IP camera\nWould you like to check IP camera!!"},
        {"Web Browser with no camera", Setup::NoCurrent, web,
         "There is no checked IP camera\nWould you like to check IP camera!!"},
        {"Device Info with no camera", Setup::NoCurrent, info,
         "There is no checked IP camera\nWould you like to check IP camera!!"},
        {"Restore with two checked", Setup::TwoChecked, restore,
         "There are more two checked IP camera\nWould you like to check  the one of IP camera!!"},
        {"Web Browser with two checked", Setup::TwoChecked, web,
         "Can not select more then two IP cameras\nWould like to check one IP camera."},
        {"Device Info with two checked", Setup::TwoChecked, info,
         "Can not select more then two IP cameras\nWould like to check one IP camera."},
        {"Device Info closed with Escape", Setup::FirstChecked,
         [](FakeCameraList& l) {
             onNextModal<QDialog>([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
             runDeviceInfo(l);
         },
         "Does not display dialog of device information\nWould you like to check IP camera!!"},
        {"a refused password", Setup::FirstChecked,
         [](FakeCameraList& l) {
             typePassword(QStringLiteral("wrong"));
             runRestore(l);
         },
         "The password does not match\nPlease re-try again!!"},
        {"a device name of 21 characters", Setup::FirstChecked,
         [](FakeCameraList& l) {
             typePassword(QStringLiteral("pw0"));
             onNextModal<CIPSetupDlg>([](CIPSetupDlg* dialog) {
                 dialog->findChild<QLineEdit*>(QStringLiteral("deviceNameEdit"))->setText(QString(21, 'n'));
                 dialog->OnBnClickedApply();
                 dialog->reject();
             });
             runIpSetup(l);
         },
         "Device name of characters can not exceed 20 characters in length."},
    };
    for (const Case& c : cases) {
        FakeCameraList cameras(2);
        cameras.list.searched = c.setup != Setup::NotSearched;
        cameras.list.currentRow = -1;
        if (c.setup == Setup::TwoChecked) cameras.list.rowChecked = {true, true};
        if (c.setup == Setup::FirstChecked) cameras.list.rowChecked = {true, false};
        MessageWatch boxes;  // the password's message is a box of its own
        c.run(cameras);
        std::vector<QString> shown = cameras.errors;
        for (const ShownMessage& box : boxes.shown()) shown.push_back(box.text);
        ASSERT_EQ(shown.size(), 1u) << c.what;
        EXPECT_EQ(shown[0].toStdString(), c.text) << c.what;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!testnet::enterPrivateNetwork(why)) {
        std::fprintf(stderr, "skipped: %s\n", why.c_str());
        return testnet::SKIP;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
