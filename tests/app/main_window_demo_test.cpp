// The main window with the demo's five simulated cameras (run by ostrel-lab,
// see CMakeLists.txt): no caption clipped at the font and scale the test runs
// with, and the pictures of the window and its dialogs for the README.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "CTarvoDlg.h"
#include "control_ids.h"
#include "device_info_dialog.h"
#include "ip_setup_dialog.h"
#include "modal_steps.h"
#include "password_dialog.h"
#include "screenshot.h"
#include "trace.h"

namespace {

// "" at the default font and scale, else what the run changed; names the pictures.
std::string g_setting;

// Off for the ordinary user's run, who may not write to the build folder.
bool g_pictures = true;

void savePicture(QWidget* widget, const char* name) {
    if (!g_pictures) return;
    const std::string file = g_setting.empty() ? name : std::string(name) + "-" + g_setting;
    saveScreenshot(widget, file.c_str());
}

// Whether `text` fits in `width` pixels of `widget`'s font, with `padding` for its frame.
::testing::AssertionResult fits(const QWidget* widget, const QString& text, int width, int padding) {
    const int needed = widget->fontMetrics().horizontalAdvance(text) + padding;
    if (width >= needed) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << text.toStdString() << "\" needs " << needed << " pixels, has "
                                         << width;
}

class DemoWindow : public ::testing::Test {
protected:
    void SetUp() override {
        zelk::setTraceSink([](std::string_view) {});
        dlg.OnInitDialog();
        dlg.show();
        QApplication::processEvents();
    }
    void TearDown() override { zelk::setTraceSink({}); }

    CTarvoDlg dlg;
};

TEST_F(DemoWindow, NoCaptionIsClipped) {
    ASSERT_EQ(dlg.m_listDevice->topLevelItemCount(), 5);
    for (const QAbstractButton* button : dlg.findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        // A push button draws its text inside a bevel of a few pixels each side.
        EXPECT_TRUE(fits(button, button->text(), button->width(), 6));
    }
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty() && !label->wordWrap()) {
            EXPECT_TRUE(fits(label, label->text(), label->contentsRect().width(), 0));
        }
    }
    const QHeaderView* header = dlg.m_listDevice->header();
    for (int column = 0; column < 5; ++column)
        EXPECT_TRUE(fits(header, dlg.m_listDevice->headerItem()->text(column), header->sectionSize(column), 8));
    const QComboBox* lan = dlg.lanChooser();
    for (int i = 0; i < lan->count(); ++i) EXPECT_TRUE(fits(lan, lan->itemText(i), lan->width(), 20));
    savePicture(&dlg, "main-window");
}

TEST_F(DemoWindow, PicturesOfTheDialogs) {
    if (!g_setting.empty()) GTEST_SKIP() << "the README shows the dialogs at the default setting";
    // "Entrance" reports all three RTSP URLs; the cameras answer in any order.
    const QList<QTreeWidgetItem*> entrance = dlg.m_listDevice->findItems(QStringLiteral("Entrance"), Qt::MatchExactly);
    ASSERT_EQ(entrance.size(), 1);
    dlg.m_listDevice->setCurrentItem(entrance.front());
    onNextModal<CDeviceInfoDlg>([](CDeviceInfoDlg* dialog) {
        savePicture(dialog, "device-information");
        dialog->accept();
    });
    dlg.OnBnClickedDeviceInfo();

    onNextModal<CPasswordDlg>([](CPasswordDlg* prompt) {
        auto* edit = prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit"));
        QTest::keyClicks(edit, QStringLiteral("admin123"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    bool shown = false;
    onNextModal<CIPSetupDlg>([&shown](CIPSetupDlg* dialog) {
        shown = true;
        savePicture(dialog, "ip-setup");
        dialog->reject();
    });
    MessageWatch messages;
    dlg.OnBnClickedIpSetup();
    EXPECT_TRUE(shown);
    for (const ShownMessage& message : messages.shown()) ADD_FAILURE() << message.text.toStdString();
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
    if (const char* scale = std::getenv("QT_SCALE_FACTOR")) g_setting = std::string("scale") + scale;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--no-pictures") g_pictures = false;
        if (arg.rfind("--font-scale=", 0) != 0) continue;
        const double factor = std::stod(arg.substr(13));
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * factor);
        QApplication::setFont(font);
        g_setting = "font" + arg.substr(13);
    }
    return RUN_ALL_TESTS();
}
