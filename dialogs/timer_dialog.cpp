#include "timer_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CTimerDlg::CTimerDlg(std::chrono::milliseconds tickPeriod)
    : CModalDialog(CloseBox::Hidden),
      m_tickPeriod(tickPeriod),
      m_staticRemaining(new QLabel(this)),
      m_button(new QPushButton(QStringLiteral("Processing..."), this)) {
    // Blank, not empty: an empty title would show the application's name.
    setWindowTitle(QStringLiteral(" "));
    auto* running = new QLabel(QStringLiteral("       Running setup...\nWait for a moment please."), this);
    running->setObjectName(QStringLiteral("runningText"));
    m_staticRemaining->setObjectName(QStringLiteral("remainingText"));
    m_staticRemaining->setAlignment(Qt::AlignCenter);
    m_staticRemaining->setMinimumWidth(300);
    m_button->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(running, 0, Qt::AlignHCenter);
    layout->addWidget(m_staticRemaining);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(&m_timer, &QTimer::timeout, this, &CTimerDlg::OnTimer);
}

void CTimerDlg::OnInitDialog() {
    m_staticRemaining->setText(m_strRemaining);
    // A large size of the platform's own family: the face the dialog was drawn with may not be installed.
    m_font = QApplication::font();
    m_font.setPointSizeF(m_font.pointSizeF() * 1.8);
    m_staticRemaining->setFont(m_font);
    m_button->setEnabled(false);
    if (const auto start = Countdown::startValue(m_nMode)) {
        m_countdown.start(*start);
        m_timer.start(m_tickPeriod);
    }
}

void CTimerDlg::OnTimer() {
    const CountdownTick tick = m_countdown.tick();
    if (!tick.complete) {
        m_staticRemaining->setText(QStringLiteral("Remaining %1 Seconds").arg(tick.shown));
        return;
    }
    m_button->setText(QStringLiteral("Complete"));
    m_button->setEnabled(false);
    m_timer.stop();
    m_strRemaining = m_staticRemaining->text();
    accept();
}
