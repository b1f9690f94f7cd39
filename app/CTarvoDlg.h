// The main window: the LAN chooser, the camera list and the commands.
#pragma once

#include <json/json.h>

#include <QDialog>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

#include "camera_list_host.h"
#include "zelk.h"
#include "zelk_search.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class CameraRow;
class SearchProgress;

class CTarvoDlg : public QDialog, public CameraListHost {
public:
    explicit CTarvoDlg(QWidget* parent = nullptr);
    ~CTarvoDlg() override;

    // Fills the LAN chooser, prepares the list and searches once; runs before the window is shown.
    bool OnInitDialog();

    // Command handlers, connected in the message map.
    void OnBnClickedSearch();
    void OnBnClickedIpSetup();
    void OnBnClickedDeviceInfo();
    void OnBnClickedWebBrowser();
    void OnBnClickedRestore();
    void OnNMClickList(int row);
    void OnNMRClickList(int row);
    void OnNMDblclkList(int row);
    void OnCbnSelchangeModelFilter();
    // Writes the listed cameras, in the list's order, to a file the user names.
    void OnBnClickedExport();
    // Sorts by `column`, ascending first, descending when it is clicked again.
    void sortByColumn(int column);

    enum class RowPart { IpAddress, MacAddress, Whole };
    // A row's IP address, MAC address or its five cells separated by tabs.
    QString rowText(int row, RowPart part) const;

    std::string GetSelectedLocalAddress() const;

    // The row of the current camera, the one the list shows selected; -1 for none.
    int currentItem() const;

    // The list and the last search, open to the window's tests.
    std::vector<DeviceInfo> m_devices;
    Json::Value m_scanDocument;
    int m_nDeviceCount = 0;
    int m_bSearched = 0;
    QTreeWidget* m_listDevice = nullptr;
    QComboBox* m_comboModelFilter = nullptr;

    // What the camera commands see of the window.
    rules::ListState listState() const override;
    const Json::Value& cameraDocument(int camera) const override;
    const DeviceInfo* cameraRecords() const override { return m_devices.data(); }
    std::string localAddress() const override { return GetSelectedLocalAddress(); }
    void searchAgain() override { OnBnClickedSearch(); }
    // Also focuses the list and resets the filter.
    void selectCamera(const rules::CameraKey& camera) override;
    void showError(const QString& text) override;
    void showNotice(const QString& text) override;

    QLabel* notice() const { return m_notice; }
    QLabel* emptyListHint() const { return m_emptyListHint; }
    QLineEdit* countEdit() const { return m_editCount; }
    QPushButton* button(int id) const;
    QComboBox* lanChooser() const { return m_comboLan; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void connectMessageMap();
    void showSearchProgress(int leftMs, int windowMs);
    // Inserts row `row` showing `camera` with the five cells and its check box.
    void addRow(int row, int camera, const QStringList& cells, bool checked);
    // Makes `row` the current one (-1: none) by selecting it.
    void selectRow(int row);
    // The current camera, found again by showCurrent after the rows are rebuilt.
    std::optional<rules::CameraKey> currentCamera() const;
    void showCurrent(const std::optional<rules::CameraKey>& camera);
    void rebuildModelFilter();
    CameraRow* rowItem(int row) const;
    // After the rows were filled: marks, the user's order, colours, tooltips.
    void rowsRebuilt();
    void recolourRows();
    // Marks rows of cameras that share an IP address or lie outside their adapter's subnet.
    void markWarnings();
    // The adapter each camera of the search answered on, and which lie outside its subnet.
    void noteAdapters(const std::vector<zelk::CameraAdapter>& adapters);
    // Inside the list while it is empty: why the search found nothing; empty hides it.
    void showEmptyListHint(const QString& text);
    // A cell whose text does not fit shows it whole as its tooltip; the IP
    // address cell also names its warnings and the camera's adapter.
    void updateTooltips();
    void fitFirmwareColumn();
    void copyRowText(int row, RowPart part);
    // The filter's entries for these model names.
    void rebuildModelFilter(const std::vector<std::u16string>& models);
    void OnDestroy();

    QComboBox* m_comboLan = nullptr;
    QLineEdit* m_editCount = nullptr;
    SearchProgress* m_progress = nullptr;
    QLabel* m_notice = nullptr;
    SearchProgress* m_startupProgress = nullptr;
    std::vector<std::pair<int, QWidget*>> m_controls;
    int m_sortColumn = -1;  // the reply order until the user sorts
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QSize m_shownSize;
    bool m_windowResized = false;
    std::vector<QString> m_subnetWarnings;  // by camera, empty for none
    std::vector<QString> m_adapterLines;    // by camera, empty when the system did not say
    QLabel* m_emptyListHint = nullptr;
};
