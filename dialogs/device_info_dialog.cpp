#include "device_info_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "device_info_rows.h"
#include "row_colours.h"
#include "text.h"

namespace {

constexpr int kItemNameWidth = 180;

}  // namespace

CDeviceInfoDlg::CDeviceInfoDlg() : CModalDialog(CloseBox::Hidden), m_listInfo(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Device Information"));
    m_listInfo->setObjectName(QStringLiteral("infoList"));
    m_listInfo->setRootIsDecorated(false);
    m_listInfo->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listInfo->setAllColumnsShowFocus(true);
    m_listInfo->setFixedSize(612, 270);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_listInfo);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDeviceInfoDlg::FillInfoList() {
    m_listInfo->clear();
    m_listInfo->setHeaderLabels({QStringLiteral("Item Name"), QStringLiteral("Value")});
    m_listInfo->headerItem()->setTextAlignment(0, Qt::AlignCenter);
    // The value column takes the rest of the width.
    m_listInfo->setColumnWidth(0, kItemNameWidth);
    m_listInfo->header()->setStretchLastSection(true);

    const std::vector<InfoRow> rows = deviceInfoRows(m_camera, zelk::fieldText(m_device.rtspUrl1));
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_listInfo, {QString::fromStdU16String(rows[i].name),
                                                      QString::fromStdU16String(rows[i].value)});
        item->setTextAlignment(0, Qt::AlignCenter);
        const QColor background = rowBackground(static_cast<int>(i));
        item->setBackground(0, background);
        item->setBackground(1, background);
    }
}
