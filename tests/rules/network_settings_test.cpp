#include "network_settings.h"

#include <gtest/gtest.h>

namespace {

using rules::SettingsField;

TEST(UnusableSettings, WhichFieldIsRefused) {
    struct Case {
        const char* address;
        const char* mask;
        const char* gateway;
        std::optional<SettingsField> refused;
    };
    const Case cases[] = {
        {"192.168.1.20", "255.255.255.0", "192.168.1.1", std::nullopt},
        {"10.1.2.3", "255.0.0.0", "10.200.0.1", std::nullopt},
        {"192.168.1.0", "255.255.0.0", "192.168.0.1", std::nullopt},     // .0 is a host in a /16
        {"192.168.0.255", "255.255.254.0", "192.168.0.1", std::nullopt}, // .255 too in a /23
        {"10.0.0.1", "255.255.255.254", "10.0.0.0", std::nullopt},       // a /31 has no network address
        {"0.0.0.0", "255.255.255.0", "192.168.1.1", SettingsField::Address},
        {"255.255.255.255", "255.255.255.0", "192.168.1.1", SettingsField::Address},
        {"192.168.1.0", "255.255.255.0", "192.168.1.1", SettingsField::Address},
        {"192.168.1.255", "255.255.255.0", "192.168.1.1", SettingsField::Address},
        {"172.16.255.255", "255.255.0.0", "172.16.0.1", SettingsField::Address},
        {"192.168.1.x", "255.255.255.0", "192.168.1.1", SettingsField::Address},
        {"192.168.1.20", "0.0.0.0", "192.168.1.1", SettingsField::Mask},
        {"192.168.1.20", "255.0.255.0", "192.168.1.1", SettingsField::Mask},
        {"192.168.1.20", "255.255.255.1", "192.168.1.1", SettingsField::Mask},
        {"192.168.1.20", "", "192.168.1.1", SettingsField::Mask},
        {"192.168.1.20", "255.255.255.0", "255.255.255.255", SettingsField::Gateway},
        {"192.168.1.20", "255.255.255.0", "192.168.2.1", SettingsField::Gateway},
        {"192.168.1.20", "255.255.255.0", "0.0.0.0", SettingsField::Gateway},
        {"192.168.1.20", "255.255.255.0", "192.168.1.255", SettingsField::Gateway},
        {"192.168.1.20", "255.255.255.0", "gw", SettingsField::Gateway},
        // The mask is judged first: without it the other two cannot be.
        {"0.0.0.0", "255.0.255.0", "1.2.3.4", SettingsField::Mask},
    };
    for (const Case& c : cases) {
        const auto problem = rules::unusableSettings(c.address, c.mask, c.gateway);
        const std::string what = std::string(c.address) + " " + c.mask + " " + c.gateway;
        ASSERT_EQ(problem.has_value(), c.refused.has_value()) << what << ": " << (problem ? problem->message : "");
        if (problem) {
            EXPECT_EQ(problem->field, *c.refused) << what;
            EXPECT_FALSE(problem->message.empty());
        }
    }
}

TEST(UnusableSettings, MessagesNameTheProblem) {
    EXPECT_EQ(rules::unusableSettings("192.168.1.255", "255.255.255.0", "192.168.1.1")->message,
              "The IP address 192.168.1.255 is the broadcast address of subnet mask 255.255.255.0.");
    EXPECT_EQ(rules::unusableSettings("192.168.1.20", "255.0.255.0", "192.168.1.1")->message,
              "The subnet mask 255.0.255.0 has a gap in its one-bits.");
    EXPECT_EQ(rules::unusableSettings("192.168.1.20", "255.255.255.0", "10.0.0.1")->message,
              "The gateway 10.0.0.1 is outside the subnet of 192.168.1.20 with mask 255.255.255.0.");
}

TEST(RangeProblem, FirstAndLastMustShareTheirPrefix) {
    EXPECT_EQ(rules::rangeProblem("192.168.1.1", "192.168.1.255"), std::nullopt);
    EXPECT_EQ(rules::rangeProblem("192.168.1.9", "192.168.1.3"), std::nullopt);  // walks nothing, harms nothing
    EXPECT_EQ(rules::rangeProblem("10.77.0.5", "10.88.0.6"),
              "The first address 10.77.0.5 and the last address 10.88.0.6 do not share their first three parts.");
    EXPECT_TRUE(rules::rangeProblem("10.77.0.5", "10.77.1.5").has_value());
    EXPECT_TRUE(rules::rangeProblem("10.77.0", "10.77.0.5").has_value());
}

}  // namespace
