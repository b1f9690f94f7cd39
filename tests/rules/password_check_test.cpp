#include "password_check.h"

#include <gtest/gtest.h>

#include "dialog_result.h"

namespace {

struct Case {
    const char* what;
    int modalResult;
    std::u16string typed;
    std::string reported;
    PasswordOutcome expected;
};

}  // namespace

TEST(PasswordOutcome, ComparesCodeUnitsExactly) {
    const Case cases[] = {
        {"same text", IDOK, u"admin123", "admin123", PasswordOutcome::Accepted},
        {"empty against empty", IDOK, u"", "", PasswordOutcome::Accepted},
        {"letter case differs", IDOK, u"Admin123", "admin123", PasswordOutcome::Refused},
        {"trailing space", IDOK, u"admin123 ", "admin123", PasswordOutcome::Refused},
        {"leading space", IDOK, u" admin123", "admin123", PasswordOutcome::Refused},
        {"prefix only", IDOK, u"admin", "admin123", PasswordOutcome::Refused},
        {"empty against a password", IDOK, u"", "admin", PasswordOutcome::Refused},
        {"byte 0xE9 reads as U+00E9", IDOK, u"caf\u00e9", "caf\xe9", PasswordOutcome::Accepted},
        {"cancelled with the right text", IDCANCEL, u"admin123", "admin123", PasswordOutcome::Cancelled},
        {"cancelled with a wrong text", IDCANCEL, u"nope", "admin123", PasswordOutcome::Cancelled},
    };
    for (const Case& c : cases)
        EXPECT_EQ(passwordOutcome(c.modalResult, c.typed, c.reported), c.expected) << c.what;
}

TEST(PasswordCheck, ExactCodeUnits) {
    EXPECT_TRUE(rules::passwordMatches(u"Secret", "Secret"));
    EXPECT_TRUE(rules::passwordMatches(u"", ""));
    EXPECT_FALSE(rules::passwordMatches(u"secret", "Secret"));
    EXPECT_FALSE(rules::passwordMatches(u"Secret ", "Secret"));
    EXPECT_TRUE(rules::passwordMatches(u"caf\u00e9", "caf\xe9"));
}

// The camera's own bytes (the caller's record) and the document's text of
// them must give the same verdict on every typed text.
TEST(PasswordCheck, CameraBytesAndTheirDocumentTextAgree) {
    struct Case {
        const char* what;
        std::string cameraBytes;
        std::string documentText;
        std::u16string typed;
        bool accepted;
    };
    const Case cases[] = {
        {"Latin-1, typed right", "p\xe4sswort", "p\xc3\xa4sswort", u"p\u00e4sswort", true},
        {"Latin-1, the old misreading", "p\xe4sswort", "p\xc3\xa4sswort", u"p\u4cf3wort", false},
        {"Latin-1, its bytes widened as UTF-8", "p\xe4sswort", "p\xc3\xa4sswort", u"p\u00c3\u00a4sswort", false},
        {"UTF-8, typed right", "p\xc3\xa4sswort", "p\xc3\xa4sswort", u"p\u00e4sswort", true},
        {"four-byte character", "key\xf0\x9f\x94\x91", "key\xf0\x9f\x94\x91", u"key\U0001F511", true},
        {"cut sequence", "ab\xe2\x82", "ab\xc3\xa2\xc2\x82", u"ab\u00e2\u0082", true},
        {"control byte", "a\x1b", "a\x1b", u"a\u001b", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rules::passwordMatches(c.typed, c.cameraBytes), c.accepted) << c.what;
        EXPECT_EQ(rules::passwordMatches(c.typed, c.documentText), c.accepted) << c.what << " (document)";
    }
}
