// The main window's commands that act on the cameras of the list.
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

#include "device_info_dialog.h"
#include "CTarvoDlg.h"
#include "command_choice.h"
#include "error_box.h"
#include "text.h"
#include "web_page.h"

namespace {

const char* const INFO_NOT_SHOWN = "Does not display dialog of device information\nWould you like to check IP camera!!";

QString fieldCell(const char* field, size_t size) {
    const QString text = QString::fromLocal8Bit(zelk::fieldText(field, size));
    return text.isEmpty() ? QStringLiteral("N/A") : text;
}

template <size_t N>
QString fieldCell(const char (&field)[N]) {
    return fieldCell(field, N);
}

}  // namespace

bool chooseForCommand(CTarvoDlg* dlg, rules::Command command, rules::Choice& choice) {
    choice = rules::chooseCameras(command, dlg->listState());
    if (choice.message.empty()) return true;
    showErrorBox(dlg, QString::fromStdU16String(choice.message));
    return false;
}

int CTarvoDlg::showDeviceInfo(int camera) {
    CDeviceInfoDlg dialog;
    dialog.m_camera = cameraDocument(camera);
    dialog.m_device = m_devices[static_cast<size_t>(camera)];
    return dialog.DoModal();
}

void CTarvoDlg::OnBnClickedDeviceInfo() {
    rules::Choice choice;
    if (!chooseForCommand(this, rules::Command::DeviceInfo, choice)) return;
    if (showDeviceInfo(choice.target) == IDOK) selectCameraRow(choice.target);
    else showErrorBox(this, QString::fromLatin1(INFO_NOT_SHOWN));
}

void CTarvoDlg::OnNMDblclkList(int row) {
    if (m_bSearched == 0) {
        showErrorBox(this, QStringLiteral("The IP camera did not search!!\nWould you like to click search button!!"));
        return;
    }
    if (row < 0) {
        showErrorBox(this, QStringLiteral("The IP camera does not select\nWould you like to click to IP camera list"));
        return;
    }
    m_nCurrentItem = row;
    if (showDeviceInfo(listState().rowCamera[static_cast<size_t>(row)]) != IDOK)
        showErrorBox(this, QString::fromLatin1(INFO_NOT_SHOWN));
}

void CTarvoDlg::OnBnClickedWebBrowser() {
    rules::Choice choice;
    if (!chooseForCommand(this, rules::Command::WebBrowser, choice)) return;
    const DeviceInfo& camera = m_devices[static_cast<size_t>(choice.target)];
    openWebPage(QString::fromLocal8Bit(zelk::fieldText(camera.webUrl)));
    selectCameraRow(choice.target);
}

void CTarvoDlg::OnCbnSelchangeModelFilter() {
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
               {fieldCell(d.deviceName), fieldCell(d.ipAddress), fieldCell(d.macAddress), fieldCell(d.modelName),
                fieldCell(d.firmwareVersion)},
               position != 0);
    }
    countEdit()->setText(QString::number(rows));
    rebuildModelFilter(models);
    m_comboModelFilter->setCurrentIndex(position);
}
