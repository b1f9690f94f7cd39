#include "configuration_flows.h"

#include "dialogs_testing.h"

#include "timer_dialog.h"

namespace {
std::chrono::milliseconds g_tick = std::chrono::seconds(1);
}

void setCountdownTickForTests(std::chrono::milliseconds period) {
    g_tick = period.count() > 0 ? period : std::chrono::seconds(1);
}

std::chrono::milliseconds countdownTick() { return g_tick; }

bool countDownAndSearch(CameraListHost& host, int mode, const rules::CameraKey& target) {
    CTimerDlg timer(countdownTick());
    timer.m_nMode = mode;
    const bool search = timer.DoModal() == IDOK;
    if (search) host.searchAgain();
    host.selectCamera(target);
    return search;
}
