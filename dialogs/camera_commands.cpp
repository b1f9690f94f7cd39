#include "camera_commands.h"

#include "device_info_dialog.h"
#include "from_camera.h"
#include "text.h"
#include "web_page.h"

namespace {

const char* const INFO_NOT_SHOWN = "Does not display dialog of device information\nWould you like to check IP camera!!";

// The information dialog for `camera`: IDOK or IDCANCEL.
int showDeviceInfo(const CameraListHost& host, int camera) {
    CDeviceInfoDlg dialog;
    dialog.m_camera = host.cameraDocument(camera);
    dialog.m_device = host.cameraRecord(camera);
    return dialog.DoModal();
}

}  // namespace

bool chooseForCommand(CameraListHost& host, rules::Command command, rules::Choice& choice) {
    choice = rules::chooseCameras(command, host.listState());
    if (choice.message.empty()) return true;
    host.showError(QString::fromStdU16String(choice.message));
    return false;
}

void runDeviceInfo(CameraListHost& host) {
    rules::Choice choice;
    if (!chooseForCommand(host, rules::Command::DeviceInfo, choice)) return;
    if (showDeviceInfo(host, choice.target) == IDOK) host.selectCamera(host.cameraKey(choice.target));
    else host.showError(QString::fromLatin1(INFO_NOT_SHOWN));
}

void runDeviceInfoOfRow(CameraListHost& host, int row) {
    const rules::ListState list = host.listState();
    if (!list.searched) {
        host.showError(QStringLiteral("The IP camera did not search\nWould you like to click search button!!"));
        return;
    }
    if (row < 0 || row >= static_cast<int>(list.rowCamera.size())) {
        host.showError(QStringLiteral("The IP camera does not select\nWould you like to click to IP camera list"));
        return;
    }
    if (showDeviceInfo(host, list.rowCamera[static_cast<size_t>(row)]) != IDOK)
        host.showError(QString::fromLatin1(INFO_NOT_SHOWN));
}

void runWebBrowser(CameraListHost& host) {
    rules::Choice choice;
    if (!chooseForCommand(host, rules::Command::WebBrowser, choice)) return;
    const QString why = openWebPage(fromCamera(zelk::fieldText(host.cameraRecord(choice.target).webUrl)));
    host.selectCamera(host.cameraKey(choice.target));
    if (!why.isEmpty()) host.showError(why);
}
