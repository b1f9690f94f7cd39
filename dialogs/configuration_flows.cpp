#include "configuration_flows.h"

#include "CTarvoDlg.h"
#include "timer_dialog.h"

namespace {
std::chrono::milliseconds g_tick = std::chrono::seconds(1);
}

void setCountdownTickForTests(std::chrono::milliseconds period) {
    g_tick = period.count() > 0 ? period : std::chrono::seconds(1);
}

std::chrono::milliseconds countdownTick() { return g_tick; }

void countDownAndSearch(CTarvoDlg* dlg, int mode, int target) {
    CTimerDlg timer(countdownTick());
    timer.m_nMode = mode;
    if (timer.DoModal() == IDOK) dlg->OnBnClickedSearch();
    dlg->selectCameraRow(target);
}
