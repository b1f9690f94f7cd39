// Restore and IP Setup end to end: the window, its dialogs and simulated
// cameras on the virtual LAN (run by ostrel-lab, see CMakeLists.txt).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "CTarvoDlg.h"
#include "dialogs_testing.h"
#include "zelk_testing.h"
#include "ip_setup_dialog.h"
#include "modal_steps.h"
#include "password_dialog.h"
#include "timer_dialog.h"
#include "trace.h"

namespace {

using Step = std::function<void(QWidget*)>;

// Acts on each modal dialog as it opens, one step per dialog, in order; error
// boxes are answered without showing and kept in `errors`.
class ModalScript {
public:
    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == last_ || !modal->isVisible()) return;
            last_ = modal;
            if (next_ < steps_.size()) steps_[next_++](modal);
            else modal->close();
        });
        timer_.start(10);
    }
    MessageWatch errors;

private:
    std::vector<Step> steps_;
    size_t next_ = 0;
    // A guarded pointer: the next prompt may be built where the last one lived.
    QPointer<QWidget> last_;
    QTimer timer_;
};

Step typePassword(const QString& password) {
    return [password](QWidget* w) {
        w->findChild<QLineEdit*>("passwordEdit")->setText(password);
        for (auto* button : w->findChildren<QPushButton*>()) {
            if (button->text() == "OK") button->click();
        }
    };
}

Step escape() {
    return [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); };
}

Step waitForIt() {
    return [](QWidget*) {};
}

Step editIpSetup(std::map<QString, QString> texts) {
    return [texts](QWidget* w) {
        for (const auto& [name, text] : texts) w->findChild<QLineEdit*>(name)->setText(text);
        if (auto* dialog = dynamic_cast<CIPSetupDlg*>(w)) {
            const QPixmap shot = dialog->grab();
            shot.save(QCoreApplication::applicationDirPath() + "/screenshots/ip-setup-flow.png");
            dialog->OnBnClickedApply();
        }
    };
}

std::string labLog() {
    std::ifstream in(std::getenv("OSTREL_LAB_LOG"));
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// The simulator writes its log on its own time: wait for a line that is due.
bool labLogShows(const std::string& text) {
    return QTest::qWaitFor([&text] { return labLog().find(text) != std::string::npos; }, 10000);
}

class Flows : public ::testing::Test {
protected:
    void SetUp() override {
        zelk::setTraceSink([](std::string_view) {});
        zelk::setReceiveWindowForTests(std::chrono::milliseconds(700));
        setCountdownTickForTests(std::chrono::milliseconds(5));
        dlg = std::make_unique<CTarvoDlg>();
        dlg->OnInitDialog();
        dlg->show();
        ASSERT_EQ(dlg->m_nDeviceCount, 2);
    }
    void TearDown() override {
        setCountdownTickForTests(std::chrono::milliseconds(0));
        zelk::setReceiveWindowForTests(std::chrono::milliseconds(0));
        zelk::setTraceSink({});
    }

    int rowOf(const QString& name) const {
        for (int r = 0; r < dlg->m_listDevice->topLevelItemCount(); ++r) {
            if (dlg->m_listDevice->topLevelItem(r)->text(0) == name) return r;
        }
        return -1;
    }
    // A left click on the camera's row, as the user makes it current.
    void click(const QString& name) {
        QTreeWidget* list = dlg->m_listDevice;
        const QRect row = list->visualItemRect(list->topLevelItem(rowOf(name)));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    }
    bool shownSelected(const QString& name) const {
        const int row = rowOf(name);
        return row >= 0 && dlg->currentItem() == row && dlg->m_listDevice->topLevelItem(row)->isSelected();
    }
    void check(const QString& name) { dlg->m_listDevice->topLevelItem(rowOf(name))->setCheckState(0, Qt::Checked); }
    QString addressOf(const QString& name) const {
        const int row = rowOf(name);
        return row < 0 ? QString() : dlg->m_listDevice->topLevelItem(row)->text(1);
    }

    std::unique_ptr<CTarvoDlg> dlg;
};

// These tests change the simulated cameras; each runs in a lab of its own (see CMakeLists.txt).

TEST_F(Flows, RestoreWithTheRightPasswordBringsBackTheFactoryProfile) {
    check("First");
    ModalScript script({typePassword("password-long-1"), waitForIt()});
    dlg->OnBnClickedRestore();
    EXPECT_EQ(addressOf("Factory one"), "192.168.1.201");
    // Found by its MAC address in the new search, whatever row it now has.
    EXPECT_TRUE(shownSelected("Factory one"));
    EXPECT_TRUE(dlg->notice()->text().isEmpty());
}

TEST_F(Flows, AWrongPasswordOrACancelSendsNothing) {
    check("First");
    ModalScript script({typePassword("Password-long-1"), escape(), typePassword("password-long-1"),
                        escape()});
    dlg->OnBnClickedRestore();  // wrong password
    ASSERT_EQ(script.errors.shown().size(), 1u);
    EXPECT_EQ(script.errors.shown()[0].text, "The password does not match\nPlease re-try again!!");
    dlg->OnBnClickedRestore();  // prompt cancelled
    dlg->OnBnClickedIpSetup();  // dialog cancelled
    EXPECT_EQ(labLog().find("factory-default"), std::string::npos);
    EXPECT_EQ(labLog().find("set-device-info"), std::string::npos);
    EXPECT_EQ(script.errors.shown().size(), 1u);
}

TEST_F(Flows, CancellingTheCountdownSkipsTheSearchButSelectsTheRow) {
    click("Second");
    ModalScript script({typePassword("pw2"), editIpSetup({{"deviceNameEdit", "Renamed"}}), escape()});
    dlg->OnBnClickedIpSetup();
    EXPECT_EQ(rowOf("Renamed"), -1);  // no search ran
    EXPECT_TRUE(shownSelected("Second"));
    EXPECT_TRUE(labLogShows("set-device-info for 02-00-00-00-00-02: accepted (name=Renamed"));
}

TEST_F(Flows, IpSetupForOneCameraChangesItsNameAndAddress) {
    click("Second");
    ModalScript script({typePassword("pw2"),
                        editIpSetup({{"deviceNameEdit", "Renamed"}, {"ipAddressEdit", "192.168.1.77"}}), waitForIt()});
    dlg->OnBnClickedIpSetup();
    EXPECT_EQ(addressOf("Renamed"), "192.168.1.77");
    EXPECT_TRUE(shownSelected("Renamed"));
    EXPECT_TRUE(dlg->notice()->text().isEmpty()) << dlg->notice()->text().toStdString();
}

TEST_F(Flows, IpSetupForTwoCheckedCamerasGivesConsecutiveFreeAddresses) {
    check("First");
    check("Second");
    const QString target = rowOf("First") > rowOf("Second") ? "password-long-1" : "pw2";
    const QString first = rowOf("First") < rowOf("Second") ? "First" : "Second";
    const QString second = first == "First" ? "Second" : "First";
    ModalScript script(
        {typePassword(target), editIpSetup({{"gatewayEdit", "192.168.1.254"}}), waitForIt(), waitForIt()});
    dlg->OnBnClickedIpSetup();
    // 192.168.1.1 answers pings: the cameras get .2 and .3, in row order.
    EXPECT_EQ(addressOf(first), "192.168.1.2");
    EXPECT_EQ(addressOf(second), "192.168.1.3");
    EXPECT_TRUE(shownSelected(second));  // the last checked camera, whose password was asked
    EXPECT_TRUE(dlg->notice()->text().isEmpty()) << dlg->notice()->text().toStdString();
}

TEST_F(Flows, TheAddressWalkStopsOnEscapeAndWalksTheRangeTyped) {
    const QString target = rowOf("First") > rowOf("Second") ? "password-long-1" : "pw2";
    const QString first = rowOf("First") < rowOf("Second") ? "First" : "Second";
    const QString second = first == "First" ? "Second" : "First";
    const std::map<QString, QString> range{{"firstHostEdit", "50"}, {"lastHostEdit", "60"}};
    check("First");
    check("Second");
    {
        ModalScript script({typePassword(target), editIpSetup(range), escape()});
        dlg->OnBnClickedIpSetup();
        EXPECT_TRUE(script.errors.shown().empty());
    }
    EXPECT_EQ(labLog().find("multi-set"), std::string::npos);
    EXPECT_EQ(addressOf("First"), "192.168.1.31") << "no countdown, no search";

    ModalScript script({typePassword(target), editIpSetup(range), waitForIt(), waitForIt()});
    dlg->OnBnClickedIpSetup();
    EXPECT_EQ(addressOf(first), "192.168.1.50");
    EXPECT_EQ(addressOf(second), "192.168.1.51");
}

TEST_F(Flows, CamerasTheWalkFindsNoAddressForAreSaid) {
    const QString target = rowOf("First") > rowOf("Second") ? "password-long-1" : "pw2";
    const QString first = rowOf("First") < rowOf("Second") ? "First" : "Second";
    const QString second = first == "First" ? "Second" : "First";
    const QString secondMac = second == "First" ? "02-00-00-00-00-01" : "02-00-00-00-00-02";
    const QString secondAddress = addressOf(second);
    // 192.168.1.1 answers pings, and is the gateway too.
    check("First");
    check("Second");
    {
        ModalScript script({typePassword(target), editIpSetup({{"firstHostEdit", "1"}, {"lastHostEdit", "1"}}),
                            waitForIt()});
        dlg->OnBnClickedIpSetup();
        ASSERT_EQ(script.errors.shown().size(), 1u);
        EXPECT_EQ(script.errors.shown()[0].text, "No free address is left in the range for these cameras.\nNothing was sent.");
    }
    EXPECT_EQ(labLog().find("multi-set"), std::string::npos);

    ModalScript script({typePassword(target), editIpSetup({{"firstHostEdit", "1"}, {"lastHostEdit", "2"}}),
                        waitForIt(), waitForIt()});
    dlg->OnBnClickedIpSetup();
    EXPECT_EQ(addressOf(first), "192.168.1.2");
    EXPECT_EQ(addressOf(second), secondAddress);
    EXPECT_EQ(dlg->notice()->text(),
              "The camera " + secondMac + " (" + secondAddress + ") got no free address of the range.");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("OSTREL_LAB_LOG") == nullptr) {
        std::fprintf(stderr, "skipped: run inside ostrel-lab\n");
        return 77;
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
