#include "network_settings.h"

#include "ipv4_subnet.h"
#include "ipv4_text.h"

namespace rules {

namespace {

std::optional<zelk::Ipv4> dotted(const std::string& text) { return zelk::dottedAddress(text.c_str(), text.size() + 1); }

SettingsProblem notDotted(SettingsField field, const char* what, const std::string& text) {
    return {field, std::string("The ") + what + " \"" + text + "\" is not an IPv4 address."};
}

}  // namespace

std::optional<SettingsProblem> unusableSettings(const std::string& address, const std::string& mask,
                                                const std::string& gateway) {
    const auto maskBytes = dotted(mask);
    if (!maskBytes) return notDotted(SettingsField::Mask, "subnet mask", mask);
    if (!zelk::contiguousMask(*maskBytes))
        return SettingsProblem{SettingsField::Mask, "The subnet mask " + mask + " has a gap in its one-bits."};
    if (zelk::ipv4Number(*maskBytes) == 0)
        return SettingsProblem{SettingsField::Mask, "The subnet mask 0.0.0.0 leaves no network part."};

    const auto addressBytes = dotted(address);
    if (!addressBytes) return notDotted(SettingsField::Address, "IP address", address);
    const uint32_t addressNumber = zelk::ipv4Number(*addressBytes);
    if (addressNumber == 0)
        return SettingsProblem{SettingsField::Address, "The IP address 0.0.0.0 names no host."};
    if (addressNumber == 0xffffffff)
        return SettingsProblem{SettingsField::Address, "The IP address 255.255.255.255 is the broadcast to every host."};
    switch (zelk::subnetRole(*addressBytes, *maskBytes)) {
    case zelk::SubnetRole::NetworkAddress:
        return SettingsProblem{SettingsField::Address,
                               "The IP address " + address + " is the network address of subnet mask " + mask + "."};
    case zelk::SubnetRole::BroadcastAddress:
        return SettingsProblem{SettingsField::Address,
                               "The IP address " + address + " is the broadcast address of subnet mask " + mask + "."};
    case zelk::SubnetRole::Host:
        break;
    }

    const auto gatewayBytes = dotted(gateway);
    if (!gatewayBytes) return notDotted(SettingsField::Gateway, "gateway", gateway);
    if (!zelk::sameSubnet(*gatewayBytes, *addressBytes, *maskBytes))
        return SettingsProblem{SettingsField::Gateway, "The gateway " + gateway + " is outside the subnet of " +
                                                           address + " with mask " + mask + "."};
    if (zelk::subnetRole(*gatewayBytes, *maskBytes) != zelk::SubnetRole::Host)
        return SettingsProblem{SettingsField::Gateway,
                               "The gateway " + gateway + " is the network or broadcast address of its subnet."};
    return std::nullopt;
}

std::optional<std::string> rangeProblem(const std::string& first, const std::string& last) {
    const auto firstBytes = dotted(first);
    const auto lastBytes = dotted(last);
    if (!firstBytes) return "The first address \"" + first + "\" is not an IPv4 address.";
    if (!lastBytes) return "The last address \"" + last + "\" is not an IPv4 address.";
    if (!zelk::samePrefix(*firstBytes, *lastBytes))
        return "The first address " + first + " and the last address " + last +
               " do not share their first three parts.";
    return std::nullopt;
}

}  // namespace rules
