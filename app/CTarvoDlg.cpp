#include "CTarvoDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QComboBox>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

#include "adapter_subnet.h"
#include "application_icon.h"
#include "background_search.h"
#include "camera_row.h"
#include "dialog_owner.h"
#include "empty_search.h"
#include "export_file.h"
#include "from_camera.h"
#include "same_address.h"
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

#include <algorithm>
#include "wait_cursor.h"

namespace {

QString fromDocument(const Json::Value& camera, const char* key) {
    return fromCamera(camera[key].asString());
}

QString shownCell(const QString& text) { return QString::fromStdU16String(rules::fieldCell(text.toStdU16String())); }

QString cellText(const Json::Value& camera, const char* key) { return shownCell(fromDocument(camera, key)); }

template <size_t N>
QString cellText(const char (&field)[N]) {
    return shownCell(fromCamera(zelk::fieldText(field, N)));
}

QString versionCellText(const Json::Value& camera) {
    const std::u16string cell = rules::versionCell(zelk::widenText(camera["sVersion"].asString()));
    return QString::fromStdU16String(cell);
}

}  // namespace

CTarvoDlg::CTarvoDlg(QWidget* parent) : QDialog(parent), m_devices(ZELK_MAX_DEVICES) {
    setWindowTitle(QStringLiteral("Ostrel v1.0.5"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    // The application's icon, so that every dialog and message box carries it too.
    if (const QIcon icon = applicationIcon(); !icon.isNull()) qApp->setWindowIcon(icon);
    setWindowIcon(qApp->windowIcon());
    setDialogOwner(this);
    createControls();
    connectMessageMap();
    qApp->installEventFilter(this);
}

CTarvoDlg::~CTarvoDlg() {
    qApp->removeEventFilter(this);
    setDialogOwner(nullptr);
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
    // Created in tab order; the layouts place them in the order the window shows them.
    auto add = [&](QWidget* w, int id) {
        m_controls.emplace_back(id, w);
        return w;
    };
    auto pushButton = [&](int id, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        add(b, id);
        return b;
    };
    pushButton(IDC_BUTTON_SEARCH, "Search")->setDefault(true);
    pushButton(IDC_BUTTON_IP_SETUP, "IP Setup");
    pushButton(IDC_BUTTON_DEVICE_INFO, "Device Info");
    pushButton(IDC_BUTTON_WEB_BROWSER, "Web Browser");

    m_listDevice = new QTreeWidget(this);
    m_listDevice->setRootIsDecorated(false);
    m_listDevice->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listDevice->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listDevice->setContextMenuPolicy(Qt::NoContextMenu);
    m_listDevice->setTextElideMode(Qt::ElideRight);
    m_listDevice->header()->setStretchLastSection(false);
    m_listDevice->header()->setSectionsClickable(true);
    m_listDevice->viewport()->installEventFilter(this);
    add(m_listDevice, IDC_LIST_DEVICE);

    auto* countLabel = new QLabel(QStringLiteral("IP Camera count :"), this);
    add(countLabel, IDC_STATIC_COUNT);
    m_editCount = new QLineEdit(this);
    m_editCount->setReadOnly(true);
    add(m_editCount, IDC_EDIT_COUNT);

    pushButton(IDC_BUTTON_EXPORT, "Export");
    pushButton(IDC_BUTTON_IMPORT, "Import");
    m_comboModelFilter = new QComboBox(this);
    add(m_comboModelFilter, IDC_COMBO_MODEL_FILTER);
    auto* filterLabel = new QLabel(QStringLiteral("Model Filters :"), this);
    add(filterLabel, IDC_STATIC_MODEL_FILTER);
    pushButton(IDC_BUTTON_RESTORE, "Restore");
    m_comboLan = new QComboBox(this);
    m_comboLan->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    add(m_comboLan, IDC_COMBO_LAN);
    auto* lanLabel = new QLabel(QStringLiteral("LAN :"), this);
    lanLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    add(lanLabel, IDC_STATIC_LAN);

    // Where the hidden model filter sits, the progress of a running search.
    m_progress = new SearchProgress(this);
    m_progress->hide();
    // Below the list, what the search after a configuration showed about the cameras.
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setTextFormat(Qt::PlainText);  // it quotes camera texts
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("color: #a00000"));
    // Over the empty list's viewport, so it goes with the list and needs no box.
    m_emptyListHint = new QLabel(m_listDevice->viewport());
    m_emptyListHint->setObjectName(QStringLiteral("emptyListHint"));
    m_emptyListHint->setTextFormat(Qt::PlainText);
    m_emptyListHint->setWordWrap(true);
    m_emptyListHint->setTextInteractionFlags(Qt::TextSelectableByMouse);  // the firewall rules are there to copy
    m_emptyListHint->hide();
    auto* hintPlace = new QVBoxLayout(m_listDevice->viewport());
    hintPlace->addWidget(m_emptyListHint, 0, Qt::AlignCenter);

    // Sizes in dialog units, converted with this font's metrics.
    const QFontMetrics metrics(font());
    const double ux = metrics.averageCharWidth() / 4.0;
    const double uy = metrics.height() / 8.0;
    const int buttonWidth = int(50 * ux);
    for (int id : {IDC_BUTTON_SEARCH, IDC_BUTTON_IP_SETUP, IDC_BUTTON_WEB_BROWSER, IDC_BUTTON_DEVICE_INFO,
                   IDC_BUTTON_RESTORE})
        button(id)->setMinimumWidth(buttonWidth);
    m_editCount->setMinimumWidth(int(100 * ux));
    m_comboLan->setMinimumWidth(int(91 * ux));

    auto* top = new QHBoxLayout;
    for (int id : {IDC_BUTTON_SEARCH, IDC_BUTTON_IP_SETUP, IDC_BUTTON_WEB_BROWSER, IDC_BUTTON_DEVICE_INFO,
                   IDC_BUTTON_RESTORE, IDC_BUTTON_EXPORT, IDC_BUTTON_IMPORT})
        top->addWidget(button(id));
    top->addStretch(1);
    top->addWidget(lanLabel);
    top->addWidget(m_comboLan);
    auto* count = new QHBoxLayout;
    count->addWidget(countLabel);
    count->addWidget(m_editCount, 2);
    count->addSpacing(int(6 * ux));
    count->addWidget(filterLabel);
    count->addWidget(m_comboModelFilter);
    count->addWidget(m_progress, 3);
    count->addStretch(1);
    auto* window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addLayout(count);
    window->addWidget(m_listDevice, 1);
    window->addWidget(m_notice);
    resize(QSize(int(477 * ux), int(210 * uy)).expandedTo(window->sizeHint()));
}

void CTarvoDlg::connectMessageMap() {
    connect(button(IDC_BUTTON_SEARCH), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedSearch);
    connect(button(IDC_BUTTON_IP_SETUP), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedIpSetup);
    connect(button(IDC_BUTTON_DEVICE_INFO), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedDeviceInfo);
    connect(button(IDC_BUTTON_WEB_BROWSER), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedWebBrowser);
    connect(button(IDC_BUTTON_RESTORE), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedRestore);
    connect(button(IDC_BUTTON_EXPORT), &QPushButton::clicked, this, &CTarvoDlg::OnBnClickedExport);
    connect(m_listDevice->header(), &QHeaderView::sectionClicked, this, &CTarvoDlg::sortByColumn);
    connect(m_listDevice->header(), &QHeaderView::sectionResized, this, [this] { updateTooltips(); });
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
    // The columns' own widths, widened where a larger font would clip a heading.
    const int widths[] = {110, 130, 130, 110};
    for (int c = 0; c < 5; ++c) {
        if (c < 4) m_listDevice->setColumnWidth(c, std::max(widths[c], m_listDevice->header()->sectionSizeHint(c)));
        m_listDevice->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }
    fitFirmwareColumn();

    // The window is not shown yet: the first search shows a progress window of its own.
    m_startupProgress = new SearchProgress();
    m_startupProgress->setWindowTitle(QStringLiteral("Ostrel"));
    m_startupProgress->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    m_startupProgress->resize(320, 40);
    OnBnClickedSearch();
    delete m_startupProgress;
    m_startupProgress = nullptr;

    for (int id : {IDC_BUTTON_IMPORT, IDC_STATIC_MODEL_FILTER, IDC_COMBO_MODEL_FILTER}) {
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
    m_notice->clear();
    m_notice->setToolTip({});
    m_bSearched = 0;
    const std::string localAddress = GetSelectedLocalAddress();
    WaitCursor wait;
    const SearchOutcome outcome = searchKeepingWindowAlive(
        localAddress, m_devices.data(), [this](int left, int window) { showSearchProgress(left, window); });
    m_progress->hide();
    // The start-up progress window goes before a box about the search opens.
    if (m_startupProgress != nullptr) m_startupProgress->hide();
    if (outcome.result != ZELK_OK) {
        showErrorBox(this, QStringLiteral("The IP camera does not connect!!"));
        return;
    }
    m_nDeviceCount = outcome.count;
    Json::Value document;
    if (!Json::Reader().parse(outcome.text, document)) return;
    m_scanDocument = document;
    noteAdapters(outcome.adapters);

    m_listDevice->clear();
    for (int n = 0; n < m_nDeviceCount; ++n) {
        const Json::Value& c = cameraDocument(n);
        addRow(n, n, {cellText(c, "sDeviceName"), cellText(c, "sIP"), cellText(c, "sMac"), cellText(c, "sModelName"),
                      versionCellText(c)}, false);
    }
    m_nDeviceCount = m_scanDocument["nNOIPCAM"].asInt();
    const std::string cause =
        m_nDeviceCount == 0 ? rules::emptySearchCause(outcome.diagnosis, localAddress, "choose \"Default\" under \"LAN :\"")
                            : std::string();
    showEmptyListHint(cause.empty() ? QString() : QStringLiteral("No camera found: ") + QString::fromStdString(cause));
    // Otherwise the missing cameras would pass for absent ones.
    if (outcome.dropped)
        showNotice(QStringLiteral("The search's list was full: %1 cameras are listed, others that answered are not. "
                                  "Search from one adapter (\"LAN :\") or on a smaller segment.")
                       .arg(m_nDeviceCount));
    rowsRebuilt();
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
    // The row keeps the camera it shows: after the model filter or a sort, row and camera differ.
    auto* item = new CameraRow(camera, cells);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    for (int column = 0; column < 5; ++column) item->setTextAlignment(column, Qt::AlignCenter);
    m_listDevice->insertTopLevelItem(row, item);
}

CameraRow* CTarvoDlg::rowItem(int row) const { return static_cast<CameraRow*>(m_listDevice->topLevelItem(row)); }

void CTarvoDlg::rowsRebuilt() {
    markWarnings();
    if (m_sortColumn >= 0) m_listDevice->sortItems(m_sortColumn, m_sortOrder);
    recolourRows();
    updateTooltips();
}

void CTarvoDlg::sortByColumn(int column) {
    const std::optional<rules::CameraKey> current = currentCamera();
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                                : Qt::AscendingOrder;
    m_sortColumn = column;
    m_listDevice->header()->setSortIndicatorShown(true);
    m_listDevice->header()->setSortIndicator(column, m_sortOrder);
    m_listDevice->sortItems(column, m_sortOrder);
    recolourRows();
    showCurrent(current);
}

void CTarvoDlg::recolourRows() {
    // The colours go by the row's place, not by its camera.
    for (int row = 0; row < m_listDevice->topLevelItemCount(); ++row)
        for (int column = 0; column < 5; ++column) rowItem(row)->setBackground(column, rowBackground(row));
}

void CTarvoDlg::noteAdapters(const std::vector<zelk::CameraAdapter>& adapters) {
    m_subnetWarnings.assign(static_cast<size_t>(std::max(m_nDeviceCount, 0)), QString());
    m_adapterLines.assign(m_subnetWarnings.size(), QString());
    const std::vector<zelk::LocalInterface> interfaces = zelk::listLocalInterfaces();
    for (size_t camera = 0; camera < m_subnetWarnings.size() && camera < adapters.size(); ++camera) {
        const zelk::CameraAdapter& adapter = adapters[camera];
        if (!adapter.name.empty() || !adapter.address.empty())
            m_adapterLines[camera] = QStringLiteral("Answered on the adapter %1 (%2).")
                                         .arg(QString::fromStdString(adapter.name), QString::fromStdString(adapter.address));
        const auto subnet = rules::adapterSubnet(adapter.address, interfaces);
        if (!subnet || !rules::outsideSubnet(zelk::fieldText(m_devices[camera].ipAddress), *subnet)) continue;
        m_subnetWarnings[camera] = QStringLiteral("The camera is outside the subnet of the adapter %1 (%2) it answered on.")
                                       .arg(QString::fromStdString(adapter.name), QString::fromStdString(adapter.address));
    }
}

void CTarvoDlg::markWarnings() {
    const int rows = m_listDevice->topLevelItemCount();
    std::vector<std::u16string> addresses;
    for (int row = 0; row < rows; ++row) addresses.push_back(rowItem(row)->text(1).toStdU16String());
    const std::vector<std::vector<size_t>> peers = rules::sameAddressPeers(addresses);
    for (int row = 0; row < rows; ++row) {
        CameraRow* item = rowItem(row);
        QStringList lines;
        for (size_t other : peers[static_cast<size_t>(row)]) {
            const CameraRow* peer = rowItem(static_cast<int>(other));
            lines << QStringLiteral("Camera %1 (MAC %2) reports the same IP address.").arg(peer->text(0), peer->text(2));
        }
        const auto camera = static_cast<size_t>(item->camera());
        if (camera < m_subnetWarnings.size() && !m_subnetWarnings[camera].isEmpty()) lines << m_subnetWarnings[camera];
        item->setWarning(lines.join('\n'));
        item->setIcon(1, lines.isEmpty() ? QIcon() : style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
}

void CTarvoDlg::updateTooltips() {
    QStyleOptionViewItem option;
    option.initFrom(m_listDevice->viewport());
    option.font = m_listDevice->font();
    QAbstractItemModel* model = m_listDevice->model();
    for (int row = 0; row < m_listDevice->topLevelItemCount(); ++row) {
        CameraRow* item = rowItem(row);
        for (int column = 0; column < 5; ++column) {
            const QModelIndex index = model->index(row, column);
            const bool fits = m_listDevice->itemDelegate()->sizeHint(option, index).width() <=
                              m_listDevice->columnWidth(column);
            QStringList tip;
            if (!fits) tip << item->text(column);
            if (column == 1 && !item->warning().isEmpty()) tip << item->warning();
            const auto camera = static_cast<size_t>(item->camera());
            if (column == 1 && camera < m_adapterLines.size() && !m_adapterLines[camera].isEmpty())
                tip << m_adapterLines[camera];
            item->setToolTip(column, tip.join('\n'));
        }
    }
}

void CTarvoDlg::fitFirmwareColumn() {
    // The client width less 470 until the user resizes the window; then the column takes what is left.
    if (m_windowResized) return;
    m_listDevice->setColumnWidth(
        4, std::max(m_listDevice->maximumViewportSize().width() - 470, m_listDevice->header()->sectionSizeHint(4)));
}

void CTarvoDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_shownSize.isValid()) m_shownSize = size();
    fitFirmwareColumn();
    updateTooltips();
}

void CTarvoDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!m_windowResized && m_shownSize.isValid() && event->size() != m_shownSize) {
        m_windowResized = true;
        m_listDevice->header()->setStretchLastSection(true);
    }
    fitFirmwareColumn();
}

QString CTarvoDlg::rowText(int row, RowPart part) const {
    const CameraRow* item = row >= 0 ? rowItem(row) : nullptr;
    if (item == nullptr) return {};
    if (part == RowPart::IpAddress) return item->text(1);
    if (part == RowPart::MacAddress) return item->text(2);
    QStringList cells;
    for (int column = 0; column < 5; ++column) cells << item->text(column);
    return cells.join('\t');
}

void CTarvoDlg::copyRowText(int row, RowPart part) {
    if (row < 0 || row >= m_listDevice->topLevelItemCount()) return;
    QApplication::clipboard()->setText(rowText(row, part));
}

void CTarvoDlg::OnBnClickedExport() {
    std::vector<rules::ExportedCamera> cameras;
    for (int row = 0; row < m_listDevice->topLevelItemCount(); ++row) {
        const int camera = rowItem(row)->camera();
        if (camera >= 0 && camera < m_nDeviceCount) cameras.push_back(rules::exportedCamera(cameraRecord(camera)));
    }
    exportCameras(this, cameras);
}

void CTarvoDlg::rebuildModelFilter() {
    std::vector<std::u16string> models;
    for (int n = 0; n < m_nDeviceCount; ++n)
        models.push_back(fromDocument(cameraDocument(n), "sModelName").toStdU16String());
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
        const CameraRow* item = rowItem(row);
        state.rowCamera.push_back(item->camera());
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
    const int camera = rowItem(row)->camera();
    if (camera < 0 || camera >= m_nDeviceCount) return std::nullopt;
    return cameraKey(camera);
}

void CTarvoDlg::showCurrent(const std::optional<rules::CameraKey>& camera) {
    selectRow(camera ? rules::rowOfCamera(listState(), *camera) : -1);
}

void CTarvoDlg::selectCamera(const rules::CameraKey& camera) {
    showCurrent(camera);
    // The list scrolls to the row: a selected row out of sight helps nobody.
    if (QTreeWidgetItem* item = m_listDevice->currentItem()) m_listDevice->scrollToItem(item);
    m_listDevice->setFocus();
    m_comboModelFilter->setCurrentIndex(0);
}

void CTarvoDlg::showError(const QString& text) { showErrorBox(this, text); }

void CTarvoDlg::showEmptyListHint(const QString& text) {
    m_emptyListHint->setText(text);
    m_emptyListHint->setVisible(!text.isEmpty());
}

void CTarvoDlg::showNotice(const QString& text) {
    // Below what the search said: a full list must stay told after a flow's notice.
    const QString shown = m_notice->text().isEmpty() ? text : m_notice->text() + u'\n' + text;
    m_notice->setText(shown);
    m_notice->setToolTip(shown);
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
        models.push_back(zelk::cameraTextWide(zelk::fieldText(m_devices[static_cast<size_t>(n)].modelName)));

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
    rowsRebuilt();
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
    menu.addSeparator();
    QAction* copyIp = menu.addAction(QStringLiteral("Copy IP Address"));
    QAction* copyMac = menu.addAction(QStringLiteral("Copy MAC Address"));
    QAction* copyRow = menu.addAction(QStringLiteral("Copy Row"));
    for (QAction* copy : {copyIp, copyMac, copyRow}) copy->setEnabled(row >= 0);
    QAction* chosen = menu.exec(QCursor::pos());
    if (chosen == copyIp) copyRowText(row, RowPart::IpAddress);
    else if (chosen == copyMac) copyRowText(row, RowPart::MacAddress);
    else if (chosen == copyRow) copyRowText(row, RowPart::Whole);
    else if (chosen == ipSetup) OnBnClickedIpSetup();
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
    if (watched == m_listDevice && type == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copyRowText(currentItem(), RowPart::Whole);
        return true;
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
