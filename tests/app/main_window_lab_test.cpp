// The main window on two private segments with stand-in cameras, offscreen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "window_testing.h"
#include "device_info_dialog.h"
#include "CTarvoDlg.h"
#include "ip_setup_dialog.h"
#include "password_dialog.h"
#include "timer_dialog.h"
#include "control_ids.h"
#include "zelk_testing.h"
#include "hostile_senders.h"
#include "modal_steps.h"
#include "private_network.h"
#include "reply_builder.h"
#include "responder.h"
#include "text.h"
#include "trace.h"
#include "version_cell.h"

using namespace Qt::StringLiterals;

namespace {

std::vector<uint8_t> replyOf(uint8_t host, const std::string& model, const std::string& version = "1.2.3",
                             bool threeStreams = false, uint8_t macTail = 0) {
    ReplyCamera c;
    if (threeStreams) {
        for (auto* url : {&c.rtsp1, &c.rtsp2, &c.rtsp3})
            *url = "rtsp://192.168.1." + std::to_string(host) + ":554/stream" + std::to_string(url - &c.rtsp1 + 1);
    }
    c.id[5] = macTail != 0 ? macTail : host;
    c.ip = {192, 168, 1, host};
    c.name = "cam-" + std::to_string(host);
    c.password = "pw" + std::to_string(host);
    c.model = model;
    c.version = version;
    if (host != 24) c.web = "http://192.168.1." + std::to_string(host);  // camera 24 reports no web page
    return ReplyBuilder().camera(c).bytes();
}

// The last byte of the camera id that each configuration request heard on a
// segment names: the camera that obeys it.
class RequestLog {
public:
    explicit RequestLog(const std::string& interface) : sock_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        int on = 1;
        setsockopt(sock_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        setsockopt(sock_, SOL_SOCKET, SO_BINDTODEVICE, interface.c_str(), static_cast<socklen_t>(interface.size()));
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(zelk::IDCP_PORT);
        if (::bind(sock_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) ADD_FAILURE() << "cannot listen";
        thread_ = std::thread([this] { listen(); });
    }
    ~RequestLog() {
        stop_ = true;
        thread_.join();
        ::close(sock_);
    }
    std::vector<int> targets() {
        std::lock_guard<std::mutex> lock(mutex_);
        return targets_;
    }
    // Waits until `count` requests were heard; the request may still be on its way when the flow returns.
    std::vector<int> targetsOnceHeard(size_t count) {
        QElapsedTimer waited;
        waited.start();
        while (targets().size() < count && waited.elapsed() < 10000) QTest::qWait(10);
        return targets();
    }

private:
    void listen() {
        uint8_t buffer[2048];
        while (!stop_) {
            pollfd fd{sock_, POLLIN, 0};
            if (::poll(&fd, 1, 50) <= 0) continue;
            const ssize_t n = ::recv(sock_, buffer, sizeof buffer, 0);
            if (n < zelk::IDCP_HEADER_SIZE) continue;
            const zelk::IdcpHeader h = zelk::decodeHeader(buffer);
            if (h.command != zelk::CMD_SET && h.command != zelk::CMD_MULTI_SET) continue;
            std::lock_guard<std::mutex> lock(mutex_);
            targets_.push_back(h.target[5]);
        }
    }

    int sock_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<int> targets_;
    std::thread thread_;
};

// Answers the next information dialog that opens: OK, or Escape.
class InfoDialogCloser {
public:
    explicit InfoDialogCloser(bool ok) {
        QObject::connect(&timer_, &QTimer::timeout, [this, ok] {
            auto* dialog = dynamic_cast<CDeviceInfoDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            const auto* list = dialog->findChild<QTreeWidget*>();
            for (int r = 0; r < list->topLevelItemCount(); ++r)
                rows << list->topLevelItem(r)->text(0) + "=" + list->topLevelItem(r)->text(1);
            shown = dialog->m_camera["sIP"].asString() == "192.168.1.22" ? 1 : 0;
            if (!screenshot.isEmpty()) dialog->grab().save(screenshot);
            if (ok) dialog->accept();
            else QTest::keyClick(dialog, Qt::Key_Escape);
        });
        timer_.start(20);
    }
    QStringList rows;
    int shown = -1;
    QString screenshot;

private:
    QTimer timer_;
};

// The context menu, once it is shown.
QMenu* shownMenu() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(w); menu != nullptr && menu->isVisible()) return menu;
    }
    return nullptr;
}

// A camera that reports the address `ip` and the web page http://<ip>.
std::vector<uint8_t> replyAt(std::array<uint8_t, 4> ip, const std::string& name, uint8_t macTail,
                             const std::string& version = "1.2.3") {
    ReplyCamera c;
    c.id[5] = macTail;
    c.ip = ip;
    c.name = name;
    c.password = "pw-" + name;
    c.version = version;
    c.web = "http://" + std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
            std::to_string(ip[3]);
    c.rtsp1 = "rtsp://" + name + "/1";
    return ReplyBuilder().camera(c).bytes();
}

QString screenshotPath(const char* name) {
    QDir dir(QCoreApplication::applicationDirPath() + "/screenshots");
    dir.mkpath(".");
    return dir.filePath(name);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        zelk::setTraceSink([](std::string_view) {});
        zelk::setReceiveWindowForTests(std::chrono::milliseconds(600));
    }
    void TearDown() override {
        zelk::setReceiveWindowForTests(std::chrono::milliseconds(0));
        zelk::setTraceSink({});
    }

    std::unique_ptr<CTarvoDlg> start() {
        auto dlg = std::make_unique<CTarvoDlg>();
        dlg->OnInitDialog();
        dlg->show();
        return dlg;
    }

    static QStringList column(const CTarvoDlg& dlg, int c) {
        QStringList texts;
        for (int r = 0; r < dlg.m_listDevice->topLevelItemCount(); ++r) texts << dlg.m_listDevice->topLevelItem(r)->text(c);
        return texts;
    }

    static QPoint rowCentre(const CTarvoDlg& dlg, int row) {
        return dlg.m_listDevice->visualItemRect(dlg.m_listDevice->topLevelItem(row)).center();
    }
};

TEST_F(MainWindow, StartUpSearchesOnceAndFillsTheList) {
    Responder cameras("camA", {replyOf(21, "CX"), replyOf(22, "DV", "0.3.1"), replyOf(23, "CX", "2.0")}, 2);
    auto dlg = start();
    EXPECT_EQ(cameras.probesHeard(), 1);
    EXPECT_EQ(dlg->m_bSearched, 1);
    EXPECT_EQ(dlg->findChild<QLineEdit*>()->text(), "3");
    EXPECT_EQ(column(*dlg, 1), (QStringList{"192.168.1.21", "192.168.1.22", "192.168.1.23"}));
    EXPECT_EQ(column(*dlg, 4), (QStringList{"1.2.3", "0.3.1(need to upgrade from 0.3.1 to v0.3.3 more)", "2.0.0"}));
    QStringList models;
    for (int i = 0; i < dlg->m_comboModelFilter->count(); ++i) models << dlg->m_comboModelFilter->itemText(i);
    EXPECT_EQ(models, (QStringList{"None", "All", "CX", "DV"}));
    EXPECT_FALSE(dlg->m_comboModelFilter->isVisible());
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(dlg->m_listDevice->topLevelItem(r)->checkState(0), Qt::Unchecked);
        const QColor expected = r % 2 == 0 ? QColor(229, 232, 239) : QColor(Qt::white);
        EXPECT_EQ(dlg->m_listDevice->topLevelItem(r)->background(2).color(), expected) << r;
    }
    EXPECT_TRUE(dlg->grab().save(screenshotPath("main-window.png")));
}

TEST_F(MainWindow, ASearchAfterACameraLeftShowsOneRowLess) {
    auto staying = std::make_unique<Responder>("camA", std::vector<std::vector<uint8_t>>{replyOf(21, "CX")});
    auto leaving = std::make_unique<Responder>("camA", std::vector<std::vector<uint8_t>>{replyOf(22, "CX")});
    auto dlg = start();
    ASSERT_EQ(dlg->m_listDevice->topLevelItemCount(), 2);
    // The leaving camera is the current one: once it is gone, there is none.
    QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::LeftButton, {},
                      rowCentre(*dlg, static_cast<int>(column(*dlg, 0).indexOf("cam-22"))));
    leaving.reset();
    QTest::mouseClick(dlg->button(IDC_BUTTON_SEARCH), Qt::LeftButton);
    EXPECT_EQ(column(*dlg, 0), QStringList{"cam-21"});
    EXPECT_EQ(dlg->findChild<QLineEdit*>()->text(), "1");
    EXPECT_EQ(dlg->currentItem(), -1);
    EXPECT_TRUE(dlg->m_listDevice->selectedItems().isEmpty());
    MessageWatch messages;
    dlg->OnBnClickedWebBrowser();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "There is no checked IP camera\nWould you like to check IP camera!!");
}

// Stand-in cameras 192.168.1.<host> that answer in the order given, and hear every request.
class ReorderedCameras {
public:
    explicit ReorderedCameras(std::vector<uint8_t> hosts) { answerInOrder(std::move(hosts)); }
    void answerInOrder(std::vector<uint8_t> hosts) {
        std::vector<std::vector<uint8_t>> replies;
        for (uint8_t host : hosts) replies.push_back(replyOf(host, "CX"));
        responder_.reset();
        responder_ = std::make_unique<Responder>("camA", std::move(replies));
    }
    RequestLog requests{"camA"};

private:
    std::unique_ptr<Responder> responder_;
};

void typePassword(const QString& text) {
    onNextModal<CPasswordDlg>([text](CPasswordDlg* prompt) {
        QTest::keyClicks(prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit")), text);
        QTest::keyClick(prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit")), Qt::Key_Return);
    });
}

TEST_F(MainWindow, EveryCommandActsOnTheClickedCameraAfterASearchInAnotherOrder) {
    setCountdownTickForTests(std::chrono::milliseconds(5));
    ReorderedCameras cameras({21, 22, 23});
    auto dlg = start();
    ASSERT_EQ(column(*dlg, 0), (QStringList{"cam-21", "cam-22", "cam-23"}));
    QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::LeftButton, {}, rowCentre(*dlg, 1));
    cameras.answerInOrder({23, 21, 22});
    QTest::mouseClick(dlg->button(IDC_BUTTON_SEARCH), Qt::LeftButton);
    ASSERT_EQ(column(*dlg, 0), (QStringList{"cam-23", "cam-21", "cam-22"}));
    EXPECT_EQ(dlg->currentItem(), 2);
    EXPECT_TRUE(dlg->m_listDevice->topLevelItem(2)->isSelected());
    MessageWatch messages;

    {
        InfoDialogCloser closer(true);
        dlg->OnBnClickedDeviceInfo();
        EXPECT_EQ(closer.shown, 1);
    }
    QString opened;
    setWebPageOpenerForTests([&](const QString& url) { opened = url; });
    dlg->OnBnClickedWebBrowser();
    setWebPageOpenerForTests({});
    EXPECT_EQ(opened, "http://192.168.1.22");

    // The stand-ins ignore the request, and answer the search after it in yet another order.
    QString shownAddress;
    typePassword("pw22");
    onNextModal<CIPSetupDlg>([&](CIPSetupDlg* dialog) {
        shownAddress = dialog->findChild<QLineEdit*>("ipAddressEdit")->text();
        dialog->findChild<QLineEdit*>("deviceNameEdit")->setText("Parking");
        dialog->OnBnClickedApply();
    });
    onNextModal<CTimerDlg>([&](CTimerDlg*) { cameras.answerInOrder({22, 23, 21}); });
    dlg->OnBnClickedIpSetup();
    EXPECT_EQ(shownAddress, "192.168.1.22");
    EXPECT_EQ(cameras.requests.targetsOnceHeard(1), std::vector<int>{22});
    ASSERT_EQ(column(*dlg, 0), (QStringList{"cam-22", "cam-23", "cam-21"}));
    EXPECT_EQ(dlg->currentItem(), 0);
    EXPECT_TRUE(dlg->m_listDevice->topLevelItem(0)->isSelected());
    const QString notice = dlg->notice()->text();
    EXPECT_TRUE(notice.contains("(192.168.1.22) did not take its new settings.")) << notice.toStdString();
    dlg->grab().save(screenshotPath("main-window-notice.png"));  // a picture for people, where the folder is writable

    typePassword("pw22");
    onNextModal<CTimerDlg>([&](CTimerDlg*) { cameras.answerInOrder({21, 22, 23}); });
    dlg->OnBnClickedRestore();
    EXPECT_EQ(cameras.requests.targetsOnceHeard(2), (std::vector<int>{22, 22}));
    EXPECT_EQ(dlg->currentItem(), 1);
    EXPECT_TRUE(dlg->m_listDevice->topLevelItem(1)->isSelected());
    EXPECT_TRUE(dlg->notice()->text().isEmpty()) << "a new search clears the notice";
    EXPECT_TRUE(messages.shown().empty());
    setCountdownTickForTests(std::chrono::milliseconds(0));
}

TEST_F(MainWindow, TheKeyboardMovesTheCurrentCamera) {
    Responder cameras("camA", {replyOf(21, "CX"), replyOf(22, "CX"), replyOf(23, "CX")});
    auto dlg = start();
    std::vector<QString> opened;
    setWebPageOpenerForTests([&](const QString& url) { opened.push_back(url); });
    QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::LeftButton, {}, rowCentre(*dlg, 0));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
        QTest::keyClick(dlg->m_listDevice, key);
        dlg->OnBnClickedWebBrowser();
    }
    setWebPageOpenerForTests({});
    EXPECT_EQ(opened, (std::vector<QString>{"http://192.168.1.22", "http://192.168.1.23", "http://192.168.1.22"}));
    EXPECT_EQ(dlg->currentItem(), 1);
}

TEST_F(MainWindow, CommandsThatSendRefuseACameraWhoseMacAnotherCameraReports) {
    Responder cameras("camA", {replyOf(21, "CX", "1.2.3", false, 0x77), replyOf(22, "CX", "1.2.3", false, 0x77)});
    auto dlg = start();
    ASSERT_EQ(dlg->m_listDevice->topLevelItemCount(), 2);
    const int row = static_cast<int>(column(*dlg, 1).indexOf("192.168.1.22"));
    QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::LeftButton, {}, rowCentre(*dlg, row));
    // A prompt would mean the command went on towards sending: close it and say so.
    bool prompted = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            prompted = true;
            modal->close();
        }
    });
    guard.start(20);
    MessageWatch messages;
    dlg->OnBnClickedRestore();
    dlg->OnBnClickedIpSetup();
    EXPECT_FALSE(prompted);
    const QString mac = dlg->m_listDevice->topLevelItem(row)->text(2);
    ASSERT_EQ(messages.shown().size(), 2u);
    for (const ShownMessage& shown : messages.shown())
        expectErrorBox(shown, "The cameras at 192.168.1.22 and 192.168.1.21 report the same MAC address " + mac +
                                  ".\nBoth would obey a request meant for one of them: nothing was sent.");
    // Reading what a camera reported is still fine.
    QString opened;
    setWebPageOpenerForTests([&](const QString& url) { opened = url; });
    dlg->OnBnClickedWebBrowser();
    setWebPageOpenerForTests({});
    EXPECT_EQ(opened, "http://192.168.1.22");
}

TEST_F(MainWindow, AFailedSearchSaysSoAndKeepsTheOldRows) {
    Responder cameras("camA", {replyOf(21, "CX"), replyOf(22, "CX")});
    auto dlg = start();
    dlg->lanChooser()->addItem("192.168.77.77");  // an address this machine does not have
    dlg->lanChooser()->setCurrentIndex(dlg->lanChooser()->count() - 1);
    MessageWatch messages;
    dlg->OnBnClickedSearch();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "The IP camera does not connect!!");
    EXPECT_EQ(dlg->m_listDevice->topLevelItemCount(), 2);
    EXPECT_EQ(dlg->m_bSearched, 0);
    QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::LeftButton, {}, rowCentre(*dlg, 0));
    dlg->OnBnClickedDeviceInfo();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].text, "The IP Camera did not search\nWould you like to click search button!!");
}

TEST_F(MainWindow, ClicksSetTheCurrentItemAndTheRightClickOpensTheMenu) {
    Responder cameras("camA", {replyOf(21, "CX"), replyOf(22, "CX")});
    auto dlg = start();
    QWidget* viewport = dlg->m_listDevice->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(*dlg, 0));
    EXPECT_EQ(dlg->currentItem(), 0);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 5));
    EXPECT_EQ(dlg->currentItem(), -1);

    QStringList entries;
    QTimer::singleShot(100, [&] {
        QMenu* menu = shownMenu();
        if (menu == nullptr) return;
        for (QAction* a : menu->actions()) entries << (a->isSeparator() ? "-" : a->text());
        menu->close();
    });
    QTest::mouseClick(viewport, Qt::RightButton, {}, rowCentre(*dlg, 1));
    EXPECT_EQ(dlg->currentItem(), 1);
    EXPECT_TRUE(dlg->m_listDevice->topLevelItem(1)->isSelected()) << "the right click selects what it acts on";
    EXPECT_EQ(entries, (QStringList{"IP Setup", "Restore", "-", "Web Browser", "Device Info", "-", "Copy IP Address",
                                    "Copy MAC Address", "Copy Row"}));

    // The web command from the menu acts on the row clicked.
    QString opened = "none";
    setWebPageOpenerForTests([&](const QString& url) { opened = url; });
    QTimer::singleShot(100, [] {
        QMenu* menu = shownMenu();
        if (menu == nullptr) return;
        menu->setActiveAction(menu->actions()[3]);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(viewport, Qt::RightButton, {}, rowCentre(*dlg, 1));
    setWebPageOpenerForTests({});
    EXPECT_EQ(opened, "http://192.168.1.22");
}

TEST_F(MainWindow, EnterAndEscapeDoNothing) {
    Responder cameras("camA", {replyOf(21, "CX")});
    auto dlg = start();
    QTest::keyClick(dlg->button(IDC_BUTTON_SEARCH), Qt::Key_Return);
    QTest::keyClick(dlg.get(), Qt::Key_Enter);
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(cameras.probesHeard(), 1);  // no second search
}

TEST_F(MainWindow, TheLanChooserListsDefaultAndTheAddressesNotBeginningWith169) {
    auto dlg = start();
    QStringList entries;
    for (int i = 0; i < dlg->lanChooser()->count(); ++i) entries << dlg->lanChooser()->itemText(i);
    EXPECT_EQ(entries, (QStringList{"Default", "192.168.1.10", "192.168.2.169"}));
    EXPECT_EQ(dlg->GetSelectedLocalAddress(), "");
    dlg->lanChooser()->setCurrentIndex(1);
    EXPECT_EQ(dlg->GetSelectedLocalAddress(), "192.168.1.10");
}

// Counts the paint events of every widget of the window.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget != nullptr && widget->window() == window_) ++paints;
        return false;
    }

private:
    QWidget* window_;
};

TEST_F(MainWindow, DuringASearchTheWindowRepaintsAndIgnoresClicks) {
    Responder cameras("camA", {replyOf(21, "CX")});
    auto dlg = start();
    zelk::setReceiveWindowForTests(std::chrono::milliseconds(1500));
    MessageWatch messages;
    int paints = 0;
    bool searched = false;
    QTimer::singleShot(0, [&] {
        PaintWatch watch(dlg.get());
        dlg->OnBnClickedSearch();
        paints = watch.paints;
        searched = true;
    });
    bool clicked = false;
    QTimer::singleShot(400, [&] {
        QTest::mouseClick(dlg->button(IDC_BUTTON_DEVICE_INFO), Qt::LeftButton);  // would say "no camera checked"
        clicked = true;
    });
    QElapsedTimer total;
    total.start();
    while (!searched && total.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(searched);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(messages.shown().empty());
    // How often it repaints depends on the machine's load: that is for a benchmark. That it
    // repaints while the search runs, and not only once at its end, holds anywhere.
    EXPECT_GE(paints, 2);
}

TEST_F(MainWindow, DeviceInfoFromTheButtonTheMenuAndADoubleClick) {
    Responder cameras("camA", {replyOf(21, "CX"), replyOf(22, "DV", "1.0.0", true)});
    auto dlg = start();
    QWidget* viewport = dlg->m_listDevice->viewport();
    {
        InfoDialogCloser closer(true);
        closer.screenshot = screenshotPath("device-information.png");
        QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(*dlg, 1));
        QTest::mouseClick(dlg->button(IDC_BUTTON_DEVICE_INFO), Qt::LeftButton);
        EXPECT_EQ(closer.shown, 1);
        EXPECT_EQ(closer.rows.size(), 16);
        EXPECT_TRUE(closer.rows.contains("RTSP Port 3=554"));
        EXPECT_EQ(dlg->m_listDevice->currentItem(), dlg->m_listDevice->topLevelItem(1));
    }
    {
        InfoDialogCloser closer(true);
        QTimer::singleShot(100, [] {
            if (QMenu* menu = shownMenu()) {
                menu->setActiveAction(menu->actions()[4]);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        QTest::mouseClick(viewport, Qt::RightButton, {}, rowCentre(*dlg, 0));
        EXPECT_EQ(closer.shown, 0);
        EXPECT_EQ(closer.rows.size(), 12);
    }
    {
        InfoDialogCloser closer(false);  // Escape
        MessageWatch messages;
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, rowCentre(*dlg, 1));
        EXPECT_EQ(closer.shown, 1);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, "Does not display dialog of device information\nWould you like to check IP camera!!");
    }
}

TEST_F(MainWindow, TheWebCommandHandsOverExactlyTheReportedUrl) {
    Responder cameras("camA", {replyOf(23, "CX"), replyOf(24, "CX")});
    auto dlg = start();
    std::vector<QString> opened;
    setWebPageOpenerForTests([&](const QString& url) { opened.push_back(url); });
    MessageWatch messages;
    for (int row : {0, 1}) {
        dlg->m_listDevice->topLevelItem(row)->setCheckState(0, Qt::Checked);
        dlg->OnBnClickedWebBrowser();
        dlg->m_listDevice->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
    }
    setWebPageOpenerForTests({});
    // Camera 24 reported no web address: nothing opens, and the window says why.
    EXPECT_EQ(opened, (std::vector<QString>{"http://192.168.1.23"}));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "The camera reported no web address, so no web page was opened.");
}

TEST_F(MainWindow, TheModelFilterListsOneModelAndCommandsActOnTheCameraARowShows) {
    Responder cameras("camA", {replyOf(21, "A"), replyOf(22, "B"), replyOf(23, "A")});
    auto dlg = start();
    QStringList entries;
    for (int i = 0; i < dlg->m_comboModelFilter->count(); ++i) entries << dlg->m_comboModelFilter->itemText(i);
    ASSERT_EQ(entries, (QStringList{"None", "All", "A", "B"}));

    dlg->m_comboModelFilter->setCurrentIndex(2);
    dlg->OnCbnSelchangeModelFilter();
    EXPECT_EQ(column(*dlg, 0), (QStringList{"cam-21", "cam-23"}));
    EXPECT_EQ(dlg->countEdit()->text(), "2");
    EXPECT_EQ(dlg->m_comboModelFilter->currentText(), "A");
    EXPECT_EQ(dlg->m_listDevice->topLevelItem(1)->checkState(0), Qt::Checked);

    // Row 1 now shows camera 2: the command must act on camera 2, not camera 1.
    dlg->m_listDevice->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QString opened;
    setWebPageOpenerForTests([&](const QString& url) { opened = url; });
    dlg->OnBnClickedWebBrowser();
    setWebPageOpenerForTests({});
    EXPECT_EQ(opened, "http://192.168.1.23");

    dlg->m_comboModelFilter->setCurrentIndex(1);
    dlg->OnCbnSelchangeModelFilter();
    EXPECT_EQ(dlg->m_listDevice->topLevelItemCount(), 3);
    EXPECT_EQ(dlg->m_listDevice->topLevelItem(2)->checkState(0), Qt::Checked);
    dlg->m_comboModelFilter->setCurrentIndex(0);
    dlg->OnCbnSelchangeModelFilter();
    EXPECT_EQ(dlg->m_listDevice->topLevelItem(2)->checkState(0), Qt::Unchecked);
}

TEST_F(MainWindow, SortingOrdersByValueKeepsEachRowsCameraAndLastsAcrossSearches) {
    Responder cameras("camA", {replyAt({10, 0, 0, 10}, "beta", 1, "1.10.0"), replyAt({10, 0, 0, 9}, "Alpha", 2, "1.9.0"),
                               replyAt({10, 0, 0, 100}, "gamma", 3, "0.3.1")});
    auto dlg = start();
    ASSERT_EQ(column(*dlg, 1), (QStringList{"10.0.0.10", "10.0.0.9", "10.0.0.100"})) << "the reply order at first";
    QHeaderView* header = dlg->m_listDevice->header();
    auto clickHeading = [&](int c) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + header->sectionSize(c) / 2, header->height() / 2));
    };
    struct Case {
        int column;
        QStringList expected;  // the IP column after the click
    };
    const Case cases[] = {
        {1, {"10.0.0.9", "10.0.0.10", "10.0.0.100"}},
        {1, {"10.0.0.100", "10.0.0.10", "10.0.0.9"}},  // again: descending
        {4, {"10.0.0.100", "10.0.0.9", "10.0.0.10"}},  // 0.3.1, 1.9.0, 1.10.0
        {0, {"10.0.0.9", "10.0.0.10", "10.0.0.100"}},  // Alpha, beta, gamma
    };
    for (const Case& c : cases) {
        clickHeading(c.column);
        EXPECT_EQ(column(*dlg, 1), c.expected) << c.column;
        for (int r = 0; r < 3; ++r) {
            const QColor expected = r % 2 == 0 ? QColor(229, 232, 239) : QColor(Qt::white);
            EXPECT_EQ(dlg->m_listDevice->topLevelItem(r)->background(0).color(), expected) << "row " << r;
        }
    }
    // The order chosen holds for the next search, and a row's command acts on the camera it shows.
    QTest::mouseClick(dlg->button(IDC_BUTTON_SEARCH), Qt::LeftButton);
    EXPECT_EQ(column(*dlg, 0), (QStringList{"Alpha", "beta", "gamma"}));
    QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::LeftButton, {}, rowCentre(*dlg, 1));
    QString opened;
    setWebPageOpenerForTests([&](const QString& url) { opened = url; });
    dlg->OnBnClickedWebBrowser();
    setWebPageOpenerForTests({});
    EXPECT_EQ(opened, "http://10.0.0.10");
    clickHeading(1);
    EXPECT_EQ(dlg->currentItem(), 1) << "the selection stays with its camera";
    EXPECT_EQ(dlg->m_listDevice->topLevelItem(1)->text(0), "beta");
}

TEST_F(MainWindow, TooltipsCopyAndExportTellTheWholeTexts) {
    const std::string longName = "North gate, camera above the barrier";
    Responder cameras("camA", {replyAt({192, 168, 1, 21}, longName, 1), replyAt({192, 168, 1, 22}, "Dock", 2)});
    auto dlg = start();
    ASSERT_EQ(column(*dlg, 0), (QStringList{QString::fromStdString(longName), "Dock"}));
    EXPECT_EQ(dlg->m_listDevice->topLevelItem(0)->toolTip(0).toStdString(), longName);
    EXPECT_TRUE(dlg->m_listDevice->topLevelItem(1)->toolTip(0).isEmpty()) << "a text that fits needs none";

    // The context menu's copy items act on the clicked row, Ctrl+C on the selected one.
    auto copyFromMenu = [&](int row, const QString& caption) {
        QApplication::clipboard()->clear();
        QTimer::singleShot(100, [caption] {
            QMenu* menu = shownMenu();
            if (menu == nullptr) return;
            for (QAction* a : menu->actions())
                if (a->text() == caption) menu->setActiveAction(a);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::RightButton, {}, rowCentre(*dlg, row));
        return QApplication::clipboard()->text();
    };
    const QString mac = column(*dlg, 2)[1];
    EXPECT_EQ(copyFromMenu(1, "Copy IP Address"), "192.168.1.22");
    EXPECT_EQ(copyFromMenu(1, "Copy MAC Address"), mac);
    EXPECT_EQ(copyFromMenu(1, "Copy Row"), "Dock\t192.168.1.22\t" + mac + "\tCX-200\t1.2.3");
    QApplication::clipboard()->clear();
    QTest::keyClick(dlg->m_listDevice, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Dock\t192.168.1.22\t" + mac + "\tCX-200\t1.2.3");

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto exported = [&](const char* name) {
        const QString path = folder.filePath(name);
        setExportFileChooserForTests([path] { return path; });
        QTest::mouseClick(dlg->button(IDC_BUTTON_EXPORT), Qt::LeftButton);
        setExportFileChooserForTests({});
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return QString::fromUtf8(file.readAll());
    };
    EXPECT_TRUE(dlg->button(IDC_BUTTON_EXPORT)->isVisible());
    const QString csv = exported("cameras.csv");
    const QString mac0 = column(*dlg, 2)[0];
    const QString expectedCsv =
        "Device Name,IP Address,MAC Address,Model Name,Firmware Version,Subnet Mask,Gateway,DHCP,Web URL,"
        "RTSP URL 1,RTSP URL 2,RTSP URL 3\r\n\"" + QString::fromStdString(longName) + "\",192.168.1.21," + mac0 +
        ",CX-200,1.2.3,255.255.255.0,192.168.1.1,false,http://192.168.1.21,\"rtsp://" +
        QString::fromStdString(longName) + "/1\",,\r\nDock,192.168.1.22," + mac +
        ",CX-200,1.2.3,255.255.255.0,192.168.1.1,false,http://192.168.1.22,rtsp://Dock/1,,\r\n";
    EXPECT_EQ(csv.toStdString(), expectedCsv.toStdString());
    const QString json = exported("cameras.json");
    EXPECT_TRUE(json.contains("\"webUrl\" : \"http://192.168.1.22\"")) << json.toStdString();
    for (const QString& text : {csv, json}) {
        EXPECT_FALSE(text.contains("pw-")) << "no password";
        EXPECT_FALSE(text.contains("admin")) << "no user id";
    }
}

// The IP address cell's tooltip names the adapter each camera answered on, after any warning.
TEST_F(MainWindow, CamerasAtTheSameAddressOrOutsideTheirAdaptersSubnetAreMarked) {
    Responder cameras("camA", {replyAt({192, 168, 1, 200}, "New one", 1), replyAt({192, 168, 1, 21}, "Dock", 2),
                               replyAt({192, 168, 1, 200}, "New two", 3), replyAt({10, 0, 0, 5}, "Moved", 4)});
    auto dlg = start();
    ASSERT_EQ(column(*dlg, 0), (QStringList{"New one", "Dock", "New two", "Moved"}));
    const QStringList macs = column(*dlg, 2);
    const QString adapter = "Answered on the adapter wsA (192.168.1.10).";
    const struct {
        int row;
        QString warning;  // empty: no mark
    } cases[] = {
        {0, "Camera New two (MAC " + macs[2] + ") reports the same IP address."},
        {1, {}},
        {2, "Camera New one (MAC " + macs[0] + ") reports the same IP address."},
        {3, "The camera is outside the subnet of the adapter wsA (192.168.1.10) it answered on."},
    };
    for (const auto& c : cases) {
        const QTreeWidgetItem* item = dlg->m_listDevice->topLevelItem(c.row);
        EXPECT_EQ(item->icon(1).isNull(), c.warning.isEmpty()) << c.row;
        EXPECT_EQ(item->toolTip(1), c.warning.isEmpty() ? adapter : c.warning + "\n" + adapter) << c.row;
        const QColor expected = c.row % 2 == 0 ? QColor(229, 232, 239) : QColor(Qt::white);
        EXPECT_EQ(item->background(1).color(), expected) << "the row colours stay";
    }
}

// The camera's bytes, Latin-1 here, reach the list, the filter and the web page as sent.
TEST_F(MainWindow, ALatin1NameShowsAsTheCameraSentIt) {
    ReplyCamera c;
    c.name = "Caf\xe9";
    c.model = "M\xfcnster";
    c.web = "http://caf\xe9.lan";
    Responder cameras("camA", {ReplyBuilder().camera(c).bytes()});
    auto dlg = start();
    EXPECT_EQ(column(*dlg, 0), QStringList{u"Caf\u00e9"_s});
    EXPECT_EQ(column(*dlg, 3), QStringList{u"M\u00fcnster"_s});
    ASSERT_EQ(dlg->m_comboModelFilter->count(), 3);
    EXPECT_EQ(dlg->m_comboModelFilter->itemText(2), u"M\u00fcnster"_s);
    dlg->m_comboModelFilter->setCurrentIndex(2);
    dlg->OnCbnSelchangeModelFilter();
    EXPECT_EQ(column(*dlg, 0), QStringList{u"Caf\u00e9"_s}) << "the rows the filter builds from the records";
    QString opened;
    setWebPageOpenerForTests([&](const QString& url) { opened = url; });
    dlg->OnBnClickedWebBrowser();
    setWebPageOpenerForTests({});
    EXPECT_EQ(opened, u"http://caf\u00e9.lan"_s);
}

// Drops incoming UDP 50444 in this namespace while it lives, as a host firewall would.
class FirewallDrop {
public:
    FirewallDrop() {
        ok_ = std::system("nft add table inet ostrel_window_test && nft add chain inet ostrel_window_test in "
                          "'{ type filter hook input priority 0; }' && nft add rule inet ostrel_window_test in "
                          "udp dport 50444 drop") == 0;
    }
    ~FirewallDrop() { lift(); }
    bool ok() const { return ok_; }
    void lift() {
        if (ok_ && std::system("nft delete table inet ostrel_window_test") != 0) ADD_FAILURE() << "the rule stays";
        ok_ = false;
    }

private:
    bool ok_ = false;
};

TEST_F(MainWindow, AnEmptySearchSaysWhyInsideTheList) {
    Responder cameras("camA", {replyOf(21, "CX")});
    FirewallDrop firewall;
    ASSERT_TRUE(firewall.ok()) << "nft cannot add the rule";
    auto dlg = start();
    EXPECT_EQ(dlg->m_listDevice->topLevelItemCount(), 0);
    ASSERT_TRUE(dlg->emptyListHint()->isVisible());
    const QString hint = dlg->emptyListHint()->text();
    for (const char* part : {"No camera found: ", "firewall drops incoming UDP port 50444",
                             "nft add rule inet filter input udp dport 50444 accept", "ufw allow 50444/udp",
                             "firewall-cmd --permanent --add-port=50444/udp"})
        EXPECT_TRUE(hint.contains(part)) << part << " in " << hint.toStdString();
    MessageWatch messages;
    firewall.lift();
    dlg->OnBnClickedSearch();
    EXPECT_EQ(column(*dlg, 0), QStringList{"cam-21"});
    EXPECT_FALSE(dlg->emptyListHint()->isVisible()) << "a list with cameras needs no hint";
    EXPECT_TRUE(messages.shown().empty()) << "no box about it";
}

TEST_F(MainWindow, AnEmptySegmentWithoutFaultsNamesNoCause) {
    auto dlg = start();
    EXPECT_EQ(dlg->m_listDevice->topLevelItemCount(), 0);
    EXPECT_FALSE(dlg->emptyListHint()->isVisible());
}

// One host answers as far more distinct cameras than the list holds, each
// probe three times over, so the kernel's losses still leave enough of them.
TEST_F(MainWindow, ASearchThatDroppedCamerasSaysSoBelowTheList) {
    std::vector<std::vector<uint8_t>> many;
    for (int n = 0; n < 2000; ++n) {
        ReplyCamera c;
        c.id = {0x02, 0x44, 0x00, 0x00, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n), 0, 0};
        many.push_back(ReplyBuilder().network(c).bytes());
    }
    Responder sender("camA", std::move(many), 3);
    auto dlg = start();
    EXPECT_EQ(dlg->m_listDevice->topLevelItemCount(), ZELK_MAX_DEVICES);
    const QString notice = dlg->notice()->text();
    EXPECT_TRUE(notice.contains(QString("The search's list was full: %1 cameras are listed").arg(ZELK_MAX_DEVICES)))
        << notice.toStdString();
    // What IP Setup says after its search goes below, not over it.
    dlg->showNotice("The camera 02-44-00-00-00-00 did not take its settings.");
    EXPECT_EQ(dlg->notice()->text().toStdString(),
              notice.toStdString() + "\nThe camera 02-44-00-00-00-00 did not take its settings.");
}

// The row of the camera with this IP and MAC address, or null.
QTreeWidgetItem* rowOf(const CTarvoDlg& dlg, const ReplyCamera& camera) {
    const QString ip = QString::fromStdString(hostile::addressText(camera.ip));
    const QString mac = QString::fromStdString(hostile::macText(camera.id));
    for (int r = 0; r < dlg.m_listDevice->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = dlg.m_listDevice->topLevelItem(r);
        if (row->text(1) == ip && row->text(2) == mac) return row;
    }
    return nullptr;
}

// A camera's text as a cell shows it: as the camera sent it, "N/A" when empty.
std::string cellOf(const std::string& bytes) {
    return QString::fromStdU16String(rules::fieldCell(zelk::cameraTextWide(bytes))).toStdString();
}

TEST_F(MainWindow, HostileSendersLeaveTheWellFormedRowsExact) {
    zelk::setReceiveWindowForTests(std::chrono::milliseconds(1200));
    for (const hostile::Case& c : hostile::malformedAndStrange()) {
        SCOPED_TRACE(c.what);
        const hostile::Sender h = c.make();
        const std::vector<hostile::Listed> all = hostile::mustBeListed(h);
        Responder sender("camA", hostile::afterTheWellFormed(h.datagrams));
        auto dlg = start();
        EXPECT_EQ(dlg->m_listDevice->topLevelItemCount(), static_cast<int>(all.size()));
        for (const hostile::Listed& l : all) {
            const QTreeWidgetItem* row = rowOf(*dlg, l.camera);
            ASSERT_NE(row, nullptr) << "no row: " << hostile::macText(l.camera.id);
            EXPECT_EQ(row->text(0).toStdString(), cellOf(l.camera.name));
            EXPECT_EQ(row->text(3).toStdString(), cellOf(l.camera.model));
        }
    }
}

TEST_F(MainWindow, FloodsFillTheListAndKeepTheWellFormedRows) {
    zelk::setReceiveWindowForTests(std::chrono::milliseconds(1200));
    const std::pair<const char*, std::vector<hostile::Datagram>> floods[] = {
        {"2,000 cameras", hostile::twoThousandCameras()},
        {"a burst of 50,000 datagrams", hostile::burstOfFiftyThousand()},
    };
    for (const auto& [what, datagrams] : floods) {
        SCOPED_TRACE(what);
        Responder sender("camA", hostile::afterTheWellFormed(datagrams));
        auto dlg = start();
        const int rows = dlg->m_listDevice->topLevelItemCount();
        EXPECT_LE(rows, ZELK_MAX_DEVICES);
        // How many arrive is the kernel's choice; only a full list can have dropped any.
        EXPECT_TRUE(!dlg->notice()->text().contains("The search's list was full") || rows == ZELK_MAX_DEVICES) << rows;
        for (const ReplyCamera& c : hostile::wellFormed()) EXPECT_NE(rowOf(*dlg, c), nullptr) << hostile::macText(c.id);
    }
}

// The list fills when the library returns, not when the progress is next shown.
TEST_F(MainWindow, TheEndOfASearchIsNoticedWithoutAProgressTick) {
    Responder cameras("camA", {replyOf(21, "CX")});
    setSearchProgressPeriodForTests(std::chrono::minutes(2));
    bool late = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] { late = true; });
    deadline.start(30000);  // far beyond the receive window, far short of the tick
    auto dlg = start();
    setSearchProgressPeriodForTests(std::chrono::milliseconds(0));
    EXPECT_FALSE(late);
    EXPECT_EQ(column(*dlg, 0), QStringList{"cam-21"});
}

TEST_F(MainWindow, DialogsAndMessagesBelongToTheWindow) {
    Responder cameras("camA", {replyOf(21, "CX")});
    auto dlg = start();
    QTest::mouseClick(dlg->m_listDevice->viewport(), Qt::LeftButton, {}, rowCentre(*dlg, 0));
    QWidget* promptParent = nullptr;
    onNextModal<CPasswordDlg>([&](CPasswordDlg* prompt) {
        promptParent = prompt->parentWidget();
        prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText("wrong");
        prompt->accept();
    });
    QWidget* boxParent = nullptr;
    QString boxTitle;
    setErrorBoxAnswererForTests([&](const QMessageBox& box) {
        boxParent = box.parentWidget();
        boxTitle = box.windowTitle();
    });
    dlg->OnBnClickedRestore();
    setErrorBoxAnswererForTests({});
    EXPECT_EQ(promptParent, dlg.get());
    EXPECT_EQ(boxParent, dlg.get()) << "the password does not match box too";
    EXPECT_EQ(boxTitle, "Ostrel");
}

TEST_F(MainWindow, TheFirmwareColumnIsTheClientWidthLess470UntilTheWindowIsResized) {
    auto dlg = start();
    QApplication::processEvents();
    QTreeWidget* list = dlg->m_listDevice;
    EXPECT_EQ(list->columnWidth(4), list->maximumViewportSize().width() - 470);
    dlg->resize(dlg->width() + 200, dlg->height() + 100);
    QApplication::processEvents();
    int total = 0;
    for (int c = 0; c < 5; ++c) total += list->columnWidth(c);
    EXPECT_EQ(total, list->viewport()->width()) << "the firmware column takes the remaining width";
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!testnet::enterPrivateNetwork(why) || !testnet::addSegment("wsA", "192.168.1.10/24", "camA") ||
        !testnet::addSegment("wsB", "169.254.7.9/16", "camB", "192.168.2.169/24") || !testnet::setDefaultRoute("wsA")) {
        std::fprintf(stderr, "skipped: %s\n", why.empty() ? "cannot build the private segments" : why.c_str());
        return testnet::SKIP;
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
