// The countdown shown while cameras restart.
#pragma once

#include <QFont>
#include <QTimer>

#include <chrono>

#include "countdown.h"
#include "modal_dialog.h"

class QLabel;
class QPushButton;

class CTimerDlg : public CModalDialog {
public:
    // The program always ticks once a second; tests may tick faster.
    explicit CTimerDlg(std::chrono::milliseconds tickPeriod = std::chrono::seconds(1));

    int m_nMode = 0;         // 0: 60 seconds, 1: 30 seconds; set before DoModal
    QString m_strRemaining;  // the countdown text as the dialog ended with OK

    // One tick: shows the next number, or ends the dialog with IDOK after 0.
    void OnTimer();

protected:
    void OnInitDialog() override;

private:
    std::chrono::milliseconds m_tickPeriod;
    Countdown m_countdown;
    QTimer m_timer;
    QFont m_font;
    QLabel* m_staticRemaining;
    QPushButton* m_button;
};
