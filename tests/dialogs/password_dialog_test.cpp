#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "modal_steps.h"
#include "password_dialog.h"
#include "screenshot.h"

namespace {

const QString kRefused = QStringLiteral("The password does not match\nPlease re-try again!!");

// Types `text` into the prompt and presses OK.
void typeAndConfirm(const QString& text, bool screenshot = false) {
    onNextModal<CPasswordDlg>([text, screenshot](CPasswordDlg* prompt) {
        auto* edit = prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit"));
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, text);
        if (screenshot) saveScreenshot(prompt, "password_dialog");
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

}  // namespace

TEST(PasswordDialog, LooksLikeThePrompt) {
    CPasswordDlg prompt;
    EXPECT_EQ(prompt.windowTitle().toStdString(), "Password");
    EXPECT_TRUE(prompt.windowFlags() & Qt::WindowCloseButtonHint);
    const auto labels = prompt.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text().toStdString(), "Password :");
    auto* edit = prompt.findChild<QLineEdit*>(QStringLiteral("passwordEdit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    const auto buttons = prompt.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1) << "OK only, no Cancel";
    EXPECT_EQ(buttons[0]->text().toStdString(), "OK");
    EXPECT_TRUE(buttons[0]->isDefault());
}

TEST(PasswordPrompt, AcceptsOrRefusesWhatWasTyped) {
    struct Case {
        const char* what;
        QString typed;
        std::string reported;
        PasswordOutcome outcome;
    };
    const Case cases[] = {
        {"same text", "s3cret!", "s3cret!", PasswordOutcome::Accepted},
        {"empty against empty", "", "", PasswordOutcome::Accepted},
        {"letter case", "S3cret!", "s3cret!", PasswordOutcome::Refused},
        {"trailing space", "s3cret! ", "s3cret!", PasswordOutcome::Refused},
    };
    for (const Case& c : cases) {
        MessageWatch messages;
        typeAndConfirm(c.typed, c.outcome == PasswordOutcome::Accepted && !c.typed.isEmpty());
        EXPECT_EQ(askPassword(c.reported), c.outcome) << c.what;
        if (c.outcome == PasswordOutcome::Refused) {
            ASSERT_EQ(messages.shown().size(), 1u) << c.what;
            expectErrorBox(messages.shown()[0], kRefused);
        } else {
            EXPECT_TRUE(messages.shown().empty()) << c.what;
        }
    }
}

TEST(PasswordPrompt, EscapeCancelsWithoutAMessage) {
    MessageWatch messages;
    onNextModal<CPasswordDlg>([](CPasswordDlg* prompt) {
        QTest::keyClicks(prompt->findChild<QLineEdit*>(QStringLiteral("passwordEdit")), "s3cret!");
        QTest::keyClick(prompt, Qt::Key_Escape);
    });
    EXPECT_EQ(askPassword("s3cret!"), PasswordOutcome::Cancelled);
    EXPECT_TRUE(messages.shown().empty());
}

TEST(PasswordDialog, CloseBoxCancelsAndKeepsNoText) {
    CPasswordDlg prompt;
    onNextModal<CPasswordDlg>([](CPasswordDlg* shown) {
        QTest::keyClicks(shown->findChild<QLineEdit*>(QStringLiteral("passwordEdit")), "typed");
        shown->close();
    });
    EXPECT_EQ(prompt.DoModal(), IDCANCEL);
    EXPECT_TRUE(prompt.GetPassword().isEmpty());
}
