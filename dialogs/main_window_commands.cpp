// The main window's commands that act on the cameras of the list.
#include <QTreeWidget>

#include "CTarvoDlg.h"
#include "message_box.h"
#include "web_page.h"

namespace {

// Applies the choosing rule; shows its message and returns false when the command stops.
bool choose(CTarvoDlg* dlg, rules::Command command, rules::Choice& choice) {
    choice = rules::chooseCameras(command, dlg->listState());
    if (choice.message.empty()) return true;
    showStopMessage(dlg, QString::fromStdU16String(choice.message));
    return false;
}

}  // namespace

void CTarvoDlg::OnBnClickedIpSetup() {
    rules::Choice choice;
    if (!choose(this, rules::Command::IpSetup, choice)) return;
}

void CTarvoDlg::OnBnClickedRestore() {
    rules::Choice choice;
    if (!choose(this, rules::Command::Restore, choice)) return;
}

void CTarvoDlg::OnBnClickedDeviceInfo() {
    rules::Choice choice;
    if (!choose(this, rules::Command::DeviceInfo, choice)) return;
}

void CTarvoDlg::OnBnClickedWebBrowser() {
    rules::Choice choice;
    if (!choose(this, rules::Command::WebBrowser, choice)) return;
    const DeviceInfo& camera = m_devices[static_cast<size_t>(choice.target)];
    openWebPage(QString::fromLocal8Bit(camera.webUrl, static_cast<int>(strnlen(camera.webUrl, sizeof camera.webUrl))));
    selectCameraRow(choice.target);
}

void CTarvoDlg::OnNMDblclkList(int row) {
    if (m_bSearched == 0) {
        showStopMessage(this, QStringLiteral("The IP camera did not search!!\nWould you like to click search button!!"));
        return;
    }
    if (row < 0) {
        showStopMessage(this, QStringLiteral("The IP camera does not select\nWould you like to click to IP camera list"));
        return;
    }
    m_nCurrentItem = row;
}

void CTarvoDlg::OnCbnSelchangeModelFilter() {}
