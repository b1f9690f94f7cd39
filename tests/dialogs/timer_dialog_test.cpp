#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "modal_steps.h"
#include "screenshot.h"
#include "timer_dialog.h"

namespace {

using namespace std::chrono_literals;

QLabel* remainingText(CTimerDlg* dialog) { return dialog->findChild<QLabel*>(QStringLiteral("remainingText")); }
QPushButton* button(CTimerDlg* dialog) { return dialog->findChild<QPushButton*>(); }

struct Mode {
    int mode;
    int start;
};

void PrintTo(const Mode& mode, std::ostream* os) { *os << "mode " << mode.mode << " from " << mode.start; }

class TimerDialogMode : public testing::TestWithParam<Mode> {};

}  // namespace

// Ticks by hand: the dialog's own timer, an hour long, never fires.
TEST_P(TimerDialogMode, CountsDownThenClosesWithComplete) {
    const Mode mode = GetParam();
    CTimerDlg dialog(1h);
    dialog.m_nMode = mode.mode;
    onNextModal<CTimerDlg>([mode](CTimerDlg* shown) {
        // Blank: the platform shows the application's name in place of an empty title.
        EXPECT_TRUE(shown->windowTitle().trimmed().isEmpty());
        EXPECT_FALSE(shown->windowTitle().isEmpty());
        EXPECT_FALSE(shown->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("runningText"))->text().toStdString(),
                  "       Running setup...\nWait for a moment please.");
        EXPECT_GT(remainingText(shown)->font().pointSizeF(), QApplication::font().pointSizeF());
        EXPECT_TRUE(remainingText(shown)->text().isEmpty()) << "nothing before the first tick";
        for (int number = mode.start; number >= 0; --number) {
            shown->OnTimer();
            ASSERT_TRUE(shown->isVisible()) << "closed before showing " << number;
            EXPECT_EQ(remainingText(shown)->text(), QStringLiteral("Remaining %1 Seconds").arg(number));
            EXPECT_EQ(button(shown)->text().toStdString(), "Processing...");
            EXPECT_FALSE(button(shown)->isEnabled());
            if (mode.mode == 1 && number == 17) saveScreenshot(shown, "countdown_dialog");
        }
        shown->OnTimer();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strRemaining.toStdString(), "Remaining 0 Seconds");
    EXPECT_EQ(button(&dialog)->text().toStdString(), "Complete");
    EXPECT_FALSE(button(&dialog)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Modes, TimerDialogMode, testing::Values(Mode{0, 60}, Mode{1, 30}),
                         [](const testing::TestParamInfo<Mode>& info) { return "mode" + std::to_string(info.param.mode); });

TEST(TimerDialog, ItsOwnTimerEndsTheCountdown) {
    constexpr auto period = 3ms;
    CTimerDlg dialog(period);
    dialog.m_nMode = 1;
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_GE(elapsed.elapsed(), 32 * period.count()) << "32 ticks: 31 numbers and the closing one";
    EXPECT_EQ(dialog.m_strRemaining.toStdString(), "Remaining 0 Seconds");
}

TEST(TimerDialog, EscapeCancelsAtOnce) {
    CTimerDlg dialog(1h);
    dialog.m_nMode = 0;
    onNextModal<CTimerDlg>([](CTimerDlg* shown) {
        shown->OnTimer();
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(remainingText(&dialog)->text().toStdString(), "Remaining 60 Seconds");
    EXPECT_EQ(button(&dialog)->text().toStdString(), "Processing...");
}

TEST(TimerDialog, EnterCannotPressTheButton) {
    CTimerDlg dialog(1h);
    dialog.m_nMode = 1;
    onNextModal<CTimerDlg>([](CTimerDlg* shown) {
        QTest::keyClick(shown, Qt::Key_Return);
        EXPECT_TRUE(shown->isVisible());
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}
