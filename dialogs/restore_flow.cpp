// "Restore": one camera back to its factory settings.
#include "CTarvoDlg.h"
#include "command_choice.h"
#include "configuration_flows.h"
#include "password_prompt.h"
#include "text.h"
#include "wait_cursor.h"

void CTarvoDlg::OnBnClickedRestore() {
    rules::Choice choice;
    if (!chooseForCommand(this, rules::Command::Restore, choice)) return;
    const int camera = choice.target;
    const DeviceInfo& record = m_devices[static_cast<size_t>(camera)];
    if (askPassword(zelk::fieldText(record.password)) != PasswordOutcome::Accepted) return;

    const std::string localAddress = GetSelectedLocalAddress();
    int result;
    {
        WaitCursor wait;
        char scanText[1] = {};
        result = zelk_factory_default(camera, scanText, m_devices.data(), localAddress.c_str());
    }
    if (result != ZELK_OK) return;  // the trace lines record why
    countDownAndSearch(this, 0, camera);
}
