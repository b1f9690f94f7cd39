// Network settings that are well-formed but would cut a camera off.
#pragma once

#include <optional>
#include <string>

namespace rules {

enum class SettingsField { Address, Mask, Gateway };

struct SettingsProblem {
    SettingsField field;
    std::string message;  // one short English sentence naming the problem
};

// The first problem of a camera's address, mask and gateway: a mask whose
// one-bits are not contiguous, or 0.0.0.0; an address 0.0.0.0,
// 255.255.255.255, or the network or broadcast address of the mask; a
// gateway outside the address's subnet, or its network or broadcast address.
// A text that is not a dotted IPv4 address is a problem of its field too.
std::optional<SettingsProblem> unusableSettings(const std::string& address, const std::string& mask,
                                                const std::string& gateway);

// A first and last address of an address range that do not share their first three parts.
std::optional<std::string> rangeProblem(const std::string& first, const std::string& last);

}  // namespace rules
