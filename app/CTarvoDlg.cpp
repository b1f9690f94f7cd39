#include "CTarvoDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

#include "background_search.h"
#include "camera_commands.h"
#include "control_ids.h"
#include "local_addresses.h"
#include "error_box.h"
#include "ip_setup_flow.h"
#include "model_filter_entries.h"
#include "restore_flow.h"
#include "row_colours.h"
#include "search_progress.h"
#include "text.h"
#include "version_cell.h"
#include "wait_cursor.h"

namespace {

const char* const ICON_PATH = "./res/ostrel/Ostrel_01.ico";

QString fromDocument(const Json::Value& camera, const char* key) {
    return QString::fromLocal8Bit(camera[key].asString());
}

QString shownCell(const QString& text) { return QString::fromStdU16String(rules::fieldCell(text.toStdU16String())); }

QString cellText(const Json::Value& camera, const char* key) { return shownCell(fromDocument(camera, key)); }

template <size_t N>
QString cellText(const char (&field)[N]) {
    return shownCell(QString::fromLocal8Bit(zelk::fieldText(field, N)));
}

QString versionCellText(const Json::Value& camera) {
    const std::u16string cell = rules::versionCell(zelk::widenText(camera["sVersion"].asString()));
    return QString::fromStdU16String(cell);
}

}  // namespace

CTarvoDlg::CTarvoDlg(QWidget* parent) : QDialog(parent), m_devices(ZELK_MAX_DEVICES) {
    setWindowTitle(QStringLiteral("Ostrel v1.0.5"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (QFile::exists(ICON_PATH)) setWindowIcon(QIcon(ICON_PATH));
    createControls();
    connectMessageMap();
    qApp->installEventFilter(this);
}

CTarvoDlg::~CTarvoDlg() {
    qApp->removeEventFilter(this);
    OnDestroy();
}

void CTarvoDlg::OnDestroy() { zelk_close(); }

QPushButton* CTarvoDlg::button(int id) const {
    for (const auto& [controlId, widget] : m_controls) {
        if (controlId == id) return qobject_cast<QPushButton*>(widget);
    }
    return nullptr;
}

void CTarvoDlg::createControls() {
    // Dialog units of the layout, converted with this font's metrics.
    const QFontMetrics metrics(font());
    const double ux = metrics.averageCharWidth() / 4.0;
    const double uy = metrics.height() / 8.0;
    auto place = [&](QWidget* w, int id, int x, int y, int width, int height) {
        w->setGeometry(int(x * ux), int(y * uy), int(width * ux), int(height * uy));
        m_controls.emplace_back(id, w);
    };
    auto pushButton = [&](int id, const char* caption, int x, int y, int width) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        place(b, id, x, y, width, 14);
        return b;
    };
    pushButton(IDC_BUTTON_SEARCH, "Search", 7, 7, 50)->setDefault(true);
    pushButton(IDC_BUTTON_IP_SETUP, "IP Setup", 71, 7, 50);
    pushButton(IDC_BUTTON_DEVICE_INFO, "Device Info", 175, 7, 50);
    pushButton(IDC_BUTTON_WEB_BROWSER, "Web Browser", 123, 7, 50);

    m_listDevice = new QTreeWidget(this);
    m_listDevice->setRootIsDecorated(false);
    m_listDevice->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listDevice->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listDevice->setContextMenuPolicy(Qt::NoContextMenu);
    m_listDevice->viewport()->installEventFilter(this);
    place(m_listDevice, IDC_LIST_DEVICE, 7, 42, 463, 147);

    auto* countLabel = new QLabel(QStringLiteral("IP Camera count :"), this);
    place(countLabel, IDC_STATIC_COUNT, 10, 25, 71, 11);
    m_editCount = new QLineEdit(this);
    m_editCount->setReadOnly(true);
    place(m_editCount, IDC_EDIT_COUNT, 85, 24, 155, 14);

    pushButton(IDC_BUTTON_EXPORT, "Export", 282, 7, 27);
    pushButton(IDC_BUTTON_IMPORT, "Import", 310, 7, 27);
    m_comboModelFilter = new QComboBox(this);
    place(m_comboModelFilter, IDC_COMBO_MODEL_FILTER, 293, 25, 68, 14);
    place(new QLabel(QStringLiteral("Model Filters :"), this), IDC_STATIC_MODEL_FILTER, 246, 26, 44, 10);
    pushButton(IDC_BUTTON_RESTORE, "Restore", 227, 7, 53);
    m_comboLan = new QComboBox(this);
    place(m_comboLan, IDC_COMBO_LAN, 379, 7, 91, 14);
    auto* lanLabel = new QLabel(QStringLiteral("LAN :"), this);
    lanLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(lanLabel, IDC_STATIC_LAN, 325, 9, 49, 11);

    // Where the hidden model filter sits, the progress of a running search.
    m_progress = new SearchProgress(this);
    place(m_progress, 0, 246, 24, 224, 14);
    m_progress->hide();
    // Below the list, what the search after a configuration showed about the cameras.
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setTextFormat(Qt::PlainText);  // it quotes camera texts
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("color: #a00000"));
    place(m_notice, 0, 7, 191, 463, 17);
    setFixedSize(int(477 * ux), int(210 * uy));
}

void CTarvoDlg::connectMessageMap() {
    connect(button(IDC_BUTTON_SEARCH), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedSearch);
    connect(button(IDC_BUTTON_IP_SETUP), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedIpSetup);
    connect(button(IDC_BUTTON_DEVICE_INFO), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedDeviceInfo);
    connect(button(IDC_BUTTON_WEB_BROWSER), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedWebBrowser);
    connect(button(IDC_BUTTON_RESTORE), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedRestore);
    // Clicks and double clicks on the list arrive through eventFilter.
    connect(m_comboModelFilter, QOverload<int>::of(&QComboBox::activated), this,
            &CTarvoDlg::OnCbnSelchangeModelFilter);
}

bool CTarvoDlg::OnInitDialog() {
    std::vector<std::u16string> addresses;
    ListLocalAddresses(addresses);
    for (const auto& entry : lanChooserEntries(addresses)) m_comboLan->addItem(QString::fromStdU16String(entry));
    m_comboLan->setCurrentIndex(0);
    m_sock = -1;

    m_listDevice->setHeaderLabels({QStringLiteral("Device Name"), QStringLiteral("IP Address"),
                                   QStringLiteral("MAC Address"), QStringLiteral("Model Name"),
                                   QStringLiteral("Firmware Version")});
    const int widths[] = {110, 130, 130, 110, m_listDevice->viewport()->width() - 470};
    for (int c = 0; c < 5; ++c) {
        m_listDevice->setColumnWidth(c, widths[c]);
        m_listDevice->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }

    // The window is not shown yet: the first search shows a progress window of its own.
    m_startupProgress = new SearchProgress();
    m_startupProgress->setWindowTitle(QStringLiteral("Ostrel"));
    m_startupProgress->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    m_startupProgress->resize(320, 40);
    OnBnClickedSearch();
    delete m_startupProgress;
    m_startupProgress = nullptr;

    for (int id : {IDC_BUTTON_EXPORT, IDC_BUTTON_IMPORT, IDC_STATIC_MODEL_FILTER, IDC_COMBO_MODEL_FILTER}) {
        for (const auto& [controlId, widget] : m_controls) {
            if (controlId != id) continue;
            widget->hide();
            widget->setEnabled(false);
        }
    }
    button(IDC_BUTTON_SEARCH)->setFocus();
    return true;
}

std::string CTarvoDlg::GetSelectedLocalAddress() const {
    const QString text = m_comboLan->currentText();
    if (text == QStringLiteral("Default")) return {};
    return text.toLocal8Bit().toStdString();
}

void CTarvoDlg::showSearchProgress(int leftMs, int windowMs) {
    SearchProgress* view = m_startupProgress != nullptr ? m_startupProgress : m_progress;
    view->show(leftMs, windowMs);
    if (!view->isVisible()) view->QWidget::show();
}

void CTarvoDlg::OnBnClickedSearch() {
    const std::optional<rules::CameraKey> current = currentCamera();
    showNotice({});
    m_bSearched = 0;
    const std::string localAddress = GetSelectedLocalAddress();
    WaitCursor wait;
    const SearchOutcome outcome = searchKeepingWindowAlive(
        localAddress, m_devices.data(), [this](int left, int window) { showSearchProgress(left, window); });
    m_progress->hide();
    if (outcome.result != ZELK_OK) {
        showErrorBox(this, QStringLiteral("The IP camera does not connect!!"));
        return;
    }
    m_nDeviceCount = outcome.count;
    Json::Value document;
    if (!Json::Reader().parse(outcome.text, document)) return;
    m_scanDocument = document;

    m_listDevice->clear();
    for (int n = 0; n < m_nDeviceCount; ++n) {
        const Json::Value& c = cameraDocument(n);
        addRow(n, n, {cellText(c, "sDeviceName"), cellText(c, "sIP"), cellText(c, "sMac"), cellText(c, "sModelName"),
                      versionCellText(c)}, false);
    }
    m_nDeviceCount = m_scanDocument["nNOIPCAM"].asInt();
    m_editCount->setText(QString::number(m_nDeviceCount));
    rebuildModelFilter();
    m_comboModelFilter->setCurrentIndex(0);
    m_bSearched = 1;
    showCurrent(current);
}

const Json::Value& CTarvoDlg::cameraDocument(int camera) const {
    return m_scanDocument["oScanData"]["oDATA_" + std::to_string(camera)];
}

void CTarvoDlg::addRow(int row, int camera, const QStringList& cells, bool checked) {
    auto* item = new QTreeWidgetItem(cells);
    // The row keeps the camera it shows: after the model filter, row and camera differ.
    item->setData(0, Qt::UserRole, camera);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    for (int column = 0; column < 5; ++column) {
        item->setTextAlignment(column, Qt::AlignCenter);
        item->setBackground(column, rowBackground(row));
    }
    m_listDevice->insertTopLevelItem(row, item);
}

void CTarvoDlg::rebuildModelFilter() {
    std::vector<std::u16string> models;
    for (int n = 0; n < m_nDeviceCount; ++n)
        models.push_back(QString::fromLocal8Bit(cameraDocument(n)["sModelName"].asString()).toStdU16String());
    rebuildModelFilter(models);
}

void CTarvoDlg::rebuildModelFilter(const std::vector<std::u16string>& models) {
    m_comboModelFilter->clear();
    for (const auto& entry : rules::modelFilterEntries(models))
        m_comboModelFilter->addItem(QString::fromStdU16String(entry));
}

rules::ListState CTarvoDlg::listState() const {
    rules::ListState state;
    state.searched = m_bSearched != 0;
    for (int row = 0; row < m_listDevice->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_listDevice->topLevelItem(row);
        state.rowCamera.push_back(item->data(0, Qt::UserRole).toInt());
        state.rowChecked.push_back(item->checkState(0) == Qt::Checked);
    }
    state.currentRow = currentItem();
    for (int camera = 0; camera < m_nDeviceCount; ++camera) state.cameras.push_back(cameraKey(camera));
    return state;
}

int CTarvoDlg::currentItem() const {
    const QList<QTreeWidgetItem*> selected = m_listDevice->selectedItems();
    return selected.isEmpty() ? -1 : m_listDevice->indexOfTopLevelItem(selected.front());
}

void CTarvoDlg::selectRow(int row) {
    QTreeWidgetItem* item = row >= 0 ? m_listDevice->topLevelItem(row) : nullptr;
    if (item == nullptr) {
        m_listDevice->clearSelection();
        m_listDevice->setCurrentItem(nullptr);
        return;
    }
    m_listDevice->setCurrentItem(item);
    item->setSelected(true);
}

std::optional<rules::CameraKey> CTarvoDlg::currentCamera() const {
    const int row = currentItem();
    if (row < 0) return std::nullopt;
    const int camera = m_listDevice->topLevelItem(row)->data(0, Qt::UserRole).toInt();
    if (camera < 0 || camera >= m_nDeviceCount) return std::nullopt;
    return cameraKey(camera);
}

void CTarvoDlg::showCurrent(const std::optional<rules::CameraKey>& camera) {
    selectRow(camera ? rules::rowOfCamera(listState(), *camera) : -1);
}

void CTarvoDlg::selectCamera(const rules::CameraKey& camera) {
    showCurrent(camera);
    m_listDevice->setFocus();
    m_comboModelFilter->setCurrentIndex(0);
}

void CTarvoDlg::showError(const QString& text) { showErrorBox(this, text); }

void CTarvoDlg::showNotice(const QString& text) {
    m_notice->setText(text);
    m_notice->setToolTip(text);
}

void CTarvoDlg::OnBnClickedIpSetup() { runIpSetup(*this); }

void CTarvoDlg::OnBnClickedRestore() { runRestore(*this); }

void CTarvoDlg::OnBnClickedDeviceInfo() { runDeviceInfo(*this); }

void CTarvoDlg::OnBnClickedWebBrowser() { runWebBrowser(*this); }

void CTarvoDlg::OnNMDblclkList(int row) {
    selectRow(row);
    runDeviceInfoOfRow(*this, row);
}

void CTarvoDlg::OnCbnSelchangeModelFilter() {
    const std::optional<rules::CameraKey> current = currentCamera();
    const int position = m_comboModelFilter->currentIndex();
    const QString chosen = m_comboModelFilter->currentText();
    std::vector<std::u16string> models;
    for (int n = 0; n < m_nDeviceCount; ++n)
        models.push_back(QString::fromLocal8Bit(zelk::fieldText(m_devices[static_cast<size_t>(n)].modelName)).toStdU16String());

    m_listDevice->clear();
    int rows = 0;
    for (int n = 0; n < m_nDeviceCount; ++n) {
        if (position >= 2 && QString::fromStdU16String(models[static_cast<size_t>(n)]) != chosen) continue;
        const DeviceInfo& d = m_devices[static_cast<size_t>(n)];
        addRow(rows++, n,
               {cellText(d.deviceName), cellText(d.ipAddress), cellText(d.macAddress), cellText(d.modelName),
                cellText(d.firmwareVersion)},
               position != 0);
    }
    m_editCount->setText(QString::number(rows));
    rebuildModelFilter(models);
    m_comboModelFilter->setCurrentIndex(position);
    showCurrent(current);
}

// A click on a row, or below the last one, and the keyboard all move the
// list's selection, and the selection is what the commands act on.
void CTarvoDlg::OnNMClickList(int row) { selectRow(row); }

void CTarvoDlg::OnNMRClickList(int row) {
    selectRow(row);
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("Context"));
    QAction* ipSetup = menu.addAction(QStringLiteral("IP Setup"));
    QAction* restore = menu.addAction(QStringLiteral("Restore"));
    menu.addSeparator();
    QAction* web = menu.addAction(QStringLiteral("Web Browser"));
    QAction* info = menu.addAction(QStringLiteral("Device Info"));
    QAction* chosen = menu.exec(QCursor::pos());
    if (chosen == ipSetup) OnBnClickedIpSetup();
    else if (chosen == restore) OnBnClickedRestore();
    else if (chosen == web) OnBnClickedWebBrowser();
    else if (chosen == info) OnBnClickedDeviceInfo();
}

bool CTarvoDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Enter and Escape do nothing in this window: no default button, no closing.
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool ours = widget != nullptr && (widget == this || isAncestorOf(widget));
        if (ours && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) return true;
    }
    if (watched == m_listDevice->viewport() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_listDevice->indexAt(mouse->position().toPoint());
        const int row = index.isValid() ? index.row() : -1;
        if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
            OnNMDblclkList(row);
            return true;
        }
        if (mouse->button() == Qt::LeftButton) OnNMClickList(row);
        if (mouse->button() == Qt::RightButton) {
            OnNMRClickList(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
