#include "CDeviceInfoDlg.h"

#include <QHeaderView>
#include <QStringList>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "CTarvoDlg.h"
#include "camera_info_rows.h"
#include "row_colours.h"
#include "text.h"

CDeviceInfoDlg::CDeviceInfoDlg() {
    setWindowTitle(QStringLiteral("Device Information"));
    // A caption bar without a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* layout = new QVBoxLayout(this);
    m_listInfo = new QTreeWidget(this);
    m_listInfo->setRootIsDecorated(false);
    m_listInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_listInfo);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setFixedWidth(100);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    resize(760, 420);
}

void CDeviceInfoDlg::showEvent(QShowEvent* event) {
    if (!m_filled) FillInfoList();
    m_filled = true;
    QDialog::showEvent(event);
}

void CDeviceInfoDlg::FillInfoList() {
    m_listInfo->setHeaderLabels({QStringLiteral("Item Name"), QStringLiteral("Value")});
    m_listInfo->headerItem()->setTextAlignment(0, Qt::AlignCenter);
    m_listInfo->setColumnWidth(0, 180);
    const DeviceInfo& record = g_pMainDlg->m_devices[static_cast<size_t>(m_nIndex)];
    const auto rows = rules::deviceInfoRows(g_pMainDlg->cameraDocument(m_nIndex), zelk::fieldText(record.rtspUrl1));
    for (size_t r = 0; r < rows.size(); ++r) {
        auto* item = new QTreeWidgetItem(
            QStringList{QString::fromLocal8Bit(rows[r].name), QString::fromLocal8Bit(rows[r].value)});
        item->setTextAlignment(0, Qt::AlignCenter);
        for (int column = 0; column < 2; ++column) item->setBackground(column, rowBackground(static_cast<int>(r)));
        m_listInfo->addTopLevelItem(item);
    }
}
