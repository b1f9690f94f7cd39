#include <gtest/gtest.h>
#include <json/json.h>

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstring>

#include "device_info_dialog.h"
#include "device_info_rows.h"
#include "modal_steps.h"
#include "screenshot.h"
#include "text.h"

namespace {

// A camera with all three RTSP URLs, as the last search reported it.
void setCamera(CDeviceInfoDlg& dialog) {
    Json::Value& camera = dialog.m_camera;
    camera["sDeviceName"] = "Lobby";
    camera["sModelName"] = "NC-200";
    camera["bDHCP"] = false;
    camera["sIP"] = "192.168.0.20";
    camera["sMac"] = "00:11:22:33:44:55";
    camera["sNetMask"] = "255.255.255.0";
    camera["sGateWay"] = "192.168.0.1";
    camera["sVersion"] = "1.0.7";
    camera["sWebURL"] = "http://192.168.0.20:80";
    camera["sRTSPURL1"] = "rtsp://192.168.0.20:554/stream1";
    camera["sRTSPURL2"] = "rtsp://192.168.0.20:554/stream2";
    camera["sRTSPURL3"] = "rtsp://192.168.0.20:8554/mobile";
    zelk::setField(dialog.m_device.rtspUrl1, "rtsp://192.168.0.20:554/stream1");
}

QTreeWidget* infoList(QWidget* dialog) { return dialog->findChild<QTreeWidget*>(QStringLiteral("infoList")); }

}  // namespace

TEST(DeviceInfoDialog, ListsTheRowsOnAlternatingColours) {
    CDeviceInfoDlg dialog;
    setCamera(dialog);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Device Information");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    onNextModal<CDeviceInfoDlg>([](CDeviceInfoDlg* shown) {
        QTreeWidget* list = infoList(shown);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->headerItem()->text(0).toStdString(), "Item Name");
        EXPECT_EQ(list->headerItem()->text(1).toStdString(), "Value");
        EXPECT_EQ(list->headerItem()->textAlignment(0), Qt::AlignCenter);
        EXPECT_EQ(list->columnWidth(0), 180);
        EXPECT_EQ(list->columnWidth(1), list->viewport()->width() - 180) << "Value takes the rest";
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);

        const std::vector<InfoRow> rows = deviceInfoRows(shown->m_camera, "rtsp://192.168.0.20:554/stream1");
        ASSERT_EQ(rows.size(), 16u);
        ASSERT_EQ(list->topLevelItemCount(), 16);
        for (int i = 0; i < 16; ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            EXPECT_EQ(item->text(0).toStdU16String(), rows[static_cast<size_t>(i)].name);
            EXPECT_EQ(item->text(1).toStdU16String(), rows[static_cast<size_t>(i)].value);
            const QColor expected = i % 2 == 0 ? QColor(229, 232, 239) : QColor(255, 255, 255);
            EXPECT_EQ(item->background(0).color(), expected) << "row " << i;
            EXPECT_EQ(item->background(1).color(), expected) << "row " << i;
        }
        EXPECT_EQ(list->topLevelItem(14)->text(0).toStdString(), "RTSP URL 3");
        saveScreenshot(shown, "device_info_dialog");
        QPushButton* ok = shown->findChild<QPushButton*>();
        EXPECT_EQ(ok->text().toStdString(), "OK");
        EXPECT_TRUE(ok->isDefault());
        ok->click();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(DeviceInfoDialog, EscapeGivesCancel) {
    CDeviceInfoDlg dialog;
    setCamera(dialog);
    onNextModal<CDeviceInfoDlg>([](CDeviceInfoDlg* shown) { QTest::keyClick(shown, Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(DeviceInfoDialog, ReadsAFullRtspFieldNoFurtherThanItsEnd) {
    CDeviceInfoDlg dialog;
    setCamera(dialog);
    std::memset(dialog.m_device.rtspUrl1, 'u', sizeof dialog.m_device.rtspUrl1);
    onNextModal<CDeviceInfoDlg>([](CDeviceInfoDlg* shown) {
        EXPECT_EQ(infoList(shown)->topLevelItem(10)->text(1), QString(255, QChar(u'u')));
        shown->accept();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}
