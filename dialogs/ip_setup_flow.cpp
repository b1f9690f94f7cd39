#include "ip_setup_flow.h"

#include <QStringList>

#include <optional>

#include "address_walk.h"
#include "address_walk_dialog.h"
#include "camera_commands.h"
#include "configuration_flows.h"
#include "from_camera.h"
#include "host_range.h"
#include "ip_setup_dialog.h"
#include "password_dialog.h"
#include "settings_taken.h"
#include "text.h"
#include "wait_cursor.h"

namespace {

QString documentText(const Json::Value& camera, const char* key) {
    return fromCamera(camera[key].asString());
}

// Texts longer than their field are cut to it.
template <size_t N>
void setText(char (&field)[N], const QString& text) {
    zelk::setField(field, text.toLocal8Bit().toStdString());
}

// What the single request asks of the camera: a DHCP camera's addresses are the server's.
SentSettings sentToOne(const rules::CameraKey& camera, const DeviceInfo& settings) {
    const bool dhcp = settings.dhcp[0] != 0;
    auto unlessDhcp = [dhcp](const char* field, size_t size) { return dhcp ? std::string() : zelk::fieldText(field, size); };
    return {camera,
            zelk::fieldText(settings.deviceName),
            unlessDhcp(settings.ipAddress, sizeof settings.ipAddress),
            unlessDhcp(settings.subnetMask, sizeof settings.subnetMask),
            unlessDhcp(settings.gateway, sizeof settings.gateway),
            dhcp};
}

// Several cameras: the walk finds their addresses in a window the user may
// cancel, then the plan is sent. Nothing when the command ends here (cancelled,
// or no camera got an address); else the library's result. `sent` and
// `notice` say what to look for after the restart and what to say then.
std::optional<int> walkAndSend(CameraListHost& host, const std::vector<int>& cameras, const CIPSetupDlg& dialog,
                               DeviceInfo (&settings)[2], const std::string& localAddress,
                               std::vector<SentSettings>& sent, std::vector<std::string>& notice) {
    // Every checked camera gets an address, whatever the target's own DHCP state.
    const QString prefix = addressPrefix(dialog.m_strIpAddress);
    setText(settings[0].ipAddress, QStringLiteral("%1.%2").arg(prefix).arg(dialog.m_nFirstHost));
    setText(settings[1].ipAddress, QStringLiteral("%1.%2").arg(prefix).arg(dialog.m_nLastHost));
    setText(settings[1].gateway, dialog.m_strGateway);
    setText(settings[1].subnetMask, dialog.m_strSubnetMask);
    const int count = static_cast<int>(cameras.size());
    zelk::AddressPlan plan;
    CAddressWalkDlg walk(
        [&](const zelk::WalkProgress& report) {
            plan = zelk::planAddresses(settings, count, cameras.data(), localAddress.c_str(), report);
        },
        count);
    if (walk.DoModal() != IDOK) return std::nullopt;  // cancelled: nothing is sent
    if (plan.result != ZELK_OK) return plan.result;
    for (size_t i = 0; i < plan.assigned.size() && i < cameras.size(); ++i) {
        const rules::CameraKey key = host.cameraKey(cameras[i]);
        if (plan.assigned[i].empty()) {
            notice.push_back("The camera " + key.mac + " (" + key.ip + ") got no free address of the range.");
            continue;
        }
        sent.push_back({key, "", plan.assigned[i], zelk::fieldText(settings[0].subnetMask),
                        zelk::fieldText(settings[0].gateway), false});
    }
    if (sent.empty()) {
        host.showError(QStringLiteral("No free address is left in the range for these cameras.\nNothing was sent."));
        return std::nullopt;
    }
    WaitCursor wait;
    return zelk::sendAddressPlan(plan, settings, count, cameras.data(), localAddress.c_str());
}

}  // namespace

void runIpSetup(CameraListHost& host) {
    rules::Choice choice;
    if (!chooseForCommand(host, rules::Command::IpSetup, choice)) return;
    const int target = choice.target;
    const rules::CameraKey targetKey = host.cameraKey(target);
    const Json::Value& camera = host.cameraDocument(target);
    if (askPassword(camera["sPW"].asString()) != PasswordOutcome::Accepted) return;

    CIPSetupDlg dialog;
    dialog.m_strDeviceName = documentText(camera, "sDeviceName");
    dialog.m_strMacAddress = documentText(camera, "sMac");
    dialog.m_strIpAddress = documentText(camera, "sIP");
    dialog.m_strSubnetMask = documentText(camera, "sNetMask");
    dialog.m_strGateway = documentText(camera, "sGateWay");
    const bool multiple = choice.cameras.size() > 1;
    dialog.m_bMultiple = multiple ? 1 : 0;
    dialog.m_nAddressMode = camera["bDHCP"].asBool() ? 0 : 1;
    dialog.m_target = {dialog.m_strDeviceName, dialog.m_strSubnetMask, camera["bDHCP"].asBool()};
    if (dialog.DoModal() != IDOK) return;

    DeviceInfo settings[2] = {};
    setText(settings[0].deviceName, dialog.m_strDeviceName);
    setText(settings[0].ipAddress, dialog.m_strIpAddress);
    setText(settings[0].gateway, dialog.m_strGateway);
    setText(settings[0].subnetMask, dialog.m_strSubnetMask);
    setText(settings[0].macAddress, dialog.m_strMacAddress);
    settings[0].dhcp[0] = static_cast<char>(dialog.m_bDhcp);

    const std::string localAddress = host.localAddress();
    std::vector<SentSettings> sent;
    std::vector<std::string> notice;  // first the cameras the walk found no address for
    int result;
    if (multiple) {
        const std::optional<int> walked = walkAndSend(host, choice.cameras, dialog, settings, localAddress, sent, notice);
        if (!walked) return;
        result = *walked;
    } else {
        WaitCursor wait;
        char scanText[1] = {};
        result = zelk_set_deviceinfo(target, host.cameraRecords(), settings[0], scanText, localAddress.c_str());
        sent.push_back(sentToOne(targetKey, settings[0]));
    }
    if (result == ZELK_ERR_NO_ICMP) {
        host.showError(QStringLiteral("The free addresses cannot be found: this computer may not send ping "
                                          "requests.\nRun Ostrel with the privilege for raw sockets, or allow ping "
                                          "sockets (net.ipv4.ping_group_range). Nothing was sent."));
    }
    if (result != ZELK_OK) return;  // other failures: the trace lines record why
    if (!countDownAndSearch(host, 1, targetKey)) return;
    for (std::string& line : settingsNotTaken(sent, host.listState(), host.cameraRecords())) notice.push_back(std::move(line));
    QStringList shown;
    for (const std::string& line : notice) shown << fromCamera(line);
    if (!shown.isEmpty()) host.showNotice(shown.join(u' '));
}
