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
        {"byte 0xE9 widens to U+00E9", IDOK, u"caf\u00e9", "caf\xe9", PasswordOutcome::Accepted},
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
