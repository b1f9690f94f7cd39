#include "restore_flow.h"

#include "camera_commands.h"
#include "configuration_flows.h"
#include "password_dialog.h"
#include "text.h"
#include "wait_cursor.h"

void runRestore(CameraListHost& host) {
    rules::Choice choice;
    if (!chooseForCommand(host, rules::Command::Restore, choice)) return;
    const int camera = choice.target;
    const DeviceInfo& record = host.cameraRecord(camera);
    const rules::CameraKey key = host.cameraKey(camera);
    if (askPassword(zelk::fieldText(record.password)) != PasswordOutcome::Accepted) return;

    const std::string localAddress = host.localAddress();
    int result;
    {
        WaitCursor wait;
        char scanText[1] = {};
        result = zelk_factory_default(camera, scanText, host.cameraRecords(), localAddress.c_str());
    }
    if (result != ZELK_OK) return;  // the trace lines record why
    countDownAndSearch(host, 0, key);
}
