// The camera commands against a fake camera list: what they ask of the list,
// what they show and what they send. The process runs in a private network
// namespace, so that a command sending by mistake reaches nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <cstdio>

#include "camera_commands.h"
#include "fake_camera_list.h"
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
    EXPECT_EQ(cameras.errors[1], "The IP camera did not search!!\nWould you like to click search button!!");
    EXPECT_TRUE(messages.shown().empty());
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
