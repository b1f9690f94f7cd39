#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "address_walk_dialog.h"
#include "modal_steps.h"

namespace {

// A walk that reports one decided address, then holds until the test lets it end.
class HeldWalk {
public:
    std::function<void(const zelk::WalkProgress&)> work() {
        return [this](const zelk::WalkProgress& report) {
            report("10.0.0.3", 1);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!release && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ended = true;
        };
    }
    std::atomic<bool> release{false};
    std::atomic<bool> ended{false};
};

QString progressText(CAddressWalkDlg* dialog) {
    return dialog->findChild<QLabel*>(QStringLiteral("walkProgress"))->text();
}

TEST(AddressWalkDialog, ShowsTheProgressAndEndsWithTheWalk) {
    HeldWalk walk;
    CAddressWalkDlg dialog(walk.work(), 2);
    onNextModal<CAddressWalkDlg>([&walk](CAddressWalkDlg* shown) {
        EXPECT_TRUE(QTest::qWaitFor([shown] { return progressText(shown) == "Probing 10.0.0.3: 1 of 2 cameras placed"; },
                                    10000))
            << progressText(shown).toStdString();
        walk.release = true;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(walk.ended);
}

// Also run where no thread can be started (dialog_walk_without_threads): the
// walk then runs before the window shows, and the window still ends with it.
TEST(AddressWalkDialog, AWalkThatEndsAtOnceEndsTheWindow) {
    bool walked = false;
    CAddressWalkDlg dialog(
        [&walked](const zelk::WalkProgress& report) {
            report("10.0.0.3", 1);
            walked = true;
        },
        1);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(walked);
}

TEST(AddressWalkDialog, CancelAndEscapeWaitForTheWalkAndEndWithCancel) {
    using Press = void (*)(CAddressWalkDlg*);
    const Press presses[] = {
        [](CAddressWalkDlg* shown) { QTest::keyClick(shown, Qt::Key_Escape); },
        [](CAddressWalkDlg* shown) { shown->findChild<QPushButton*>()->click(); },
    };
    for (const Press press : presses) {
        HeldWalk walk;
        CAddressWalkDlg dialog(walk.work(), 2);
        bool stayedUntilTheWalkEnded = false;
        onNextModal<CAddressWalkDlg>([&](CAddressWalkDlg* shown) {
            press(shown);
            // The library serves one operation at a time: the window stays until the walk is over.
            stayedUntilTheWalkEnded = shown->isVisible() && progressText(shown).startsWith("Cancelled");
            walk.release = true;
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(stayedUntilTheWalkEnded);
        EXPECT_TRUE(walk.ended);
    }
}

}  // namespace
