#include "configure_commands.h"

#include <cstdio>
#include <memory>

#include "arguments.h"
#include "camera_choice.h"
#include "errors.h"
#include "network_settings.h"
#include "request_support.h"
#include "restart_check.h"
#include "search_session.h"
#include "terminal_text.h"
#include "text.h"
#include "zelk.h"

namespace cli {

namespace {

struct SetOptions {
    CameraTarget target;
    PasswordSource password;
    std::string name, newIp, mask, gateway, dhcp, lan;
    const CLI::Option *nameOption, *newIpOption, *maskOption, *gatewayOption, *dhcpOption;
    bool wait = false;
};

// The name a camera keeps: the request carries only the first bytes of the field.
constexpr size_t SENT_NAME_BYTES = 28;

// Whether the address settings sent are the user's to answer for: typed, or
// made static by --dhcp off.
bool settingsChecked(const SetOptions& o) {
    return o.newIpOption->count() + o.maskOption->count() + o.gatewayOption->count() > 0 ||
           (o.dhcpOption->count() > 0 && o.dhcp == "off");
}

const char* const SETTINGS_OPTIONS[3] = {"--new-ip", "--mask", "--gateway"};

int set(const SetOptions& o) {
    checkTarget(o.target);
    // What the command line alone shows is refused before the search; settings
    // completed from the camera's own are checked once it has answered, still
    // before anything is sent.
    if (o.newIpOption->count() > 0 && o.maskOption->count() > 0 && o.gatewayOption->count() > 0)
        checkUsableSettings(o.newIp, o.mask, o.gateway, SETTINGS_OPTIONS);
    if (o.maskOption->count() > 0) {
        const auto problem = rules::unusableSettings("", o.mask, "");  // the mask is judged first, on its own
        if (problem && problem->field == rules::SettingsField::Mask) throw UsageError("--mask: " + problem->message);
    }
    const std::string password = readPassword(o.password);
    showTraces(false);
    SearchSession s = runSearch(o.lan);
    const int index = chosenCamera(s, o.target);

    const Json::Value& camera = s.camera(index);
    const auto chosen = [](const CLI::Option* option, const std::string& given, const std::string& current) {
        return option->count() > 0 ? given : current;
    };
    const std::string dhcp = chosen(o.dhcpOption, o.dhcp, camera["bDHCP"].asBool() ? "on" : "off");
    DeviceInfo settings{};
    zelk::setField(settings.deviceName, chosen(o.nameOption, o.name, camera["sDeviceName"].asString()));
    zelk::setField(settings.ipAddress, chosen(o.newIpOption, o.newIp, camera["sIP"].asString()));
    zelk::setField(settings.subnetMask, chosen(o.maskOption, o.mask, camera["sNetMask"].asString()));
    zelk::setField(settings.gateway, chosen(o.gatewayOption, o.gateway, camera["sGateWay"].asString()));
    zelk::setField(settings.macAddress, camera["sMac"].asString());
    settings.dhcp[0] = dhcp == "on" ? 1 : 0;
    if (settingsChecked(o))
        checkUsableSettings(settings.ipAddress, settings.subnetMask, settings.gateway, SETTINGS_OPTIONS);
    checkPassword(s, index, password);
    warnOfSharedMac(s, index);

    char scan[1] = {};
    checkResult(zelk_set_deviceinfo(index, s.devices.data(), settings, scan, o.lan.c_str()), "set-device-info request");
    std::printf("sent set-device-info to %s: name=%s ip=%s mask=%s gateway=%s dhcp=%s\n", describe(s, index).c_str(),
                terminalText(zelk::fieldText(settings.deviceName)).c_str(), settings.ipAddress, settings.subnetMask,
                settings.gateway, dhcp.c_str());
    if (!o.wait) return STATUS_OK;
    ExpectedCamera expected;
    expected.mac = camera["sMac"].asString();
    expected.name = zelk::fieldText(settings.deviceName).substr(0, SENT_NAME_BYTES);
    expected.dhcp = settings.dhcp[0] == 1;
    if (!*expected.dhcp) {  // with DHCP the server decides the address
        expected.ip = settings.ipAddress;
        expected.mask = settings.subnetMask;
        expected.gateway = settings.gateway;
    }
    std::fflush(stdout);
    return confirmRestart({expected}, o.lan, restartSeconds(1)) ? STATUS_OK : STATUS_UNSETTLED;
}

struct ResetOptions {
    CameraTarget target;
    PasswordSource password;
    std::string lan;
    bool wait = false;
};

int reset(const ResetOptions& o) {
    checkTarget(o.target);
    const std::string password = readPassword(o.password);
    showTraces(false);
    SearchSession s = runSearch(o.lan);
    const int index = chosenCamera(s, o.target);
    checkPassword(s, index, password);
    warnOfSharedMac(s, index);
    char scan[1] = {};
    checkResult(zelk_factory_default(index, scan, s.devices.data(), o.lan.c_str()), "factory-default request");
    std::printf("sent factory-default to %s\n", describe(s, index).c_str());
    if (!o.wait) return STATUS_OK;
    // The factory settings are the camera's own: that it answers again is all that can be checked.
    ExpectedCamera expected;
    expected.mac = s.camera(index)["sMac"].asString();
    std::fflush(stdout);
    return confirmRestart({expected}, o.lan, restartSeconds(0)) ? STATUS_OK : STATUS_UNSETTLED;
}

}  // namespace

Command setCommand(CLI::App& tool) {
    auto o = std::make_shared<SetOptions>();
    CLI::App* command = tool.add_subcommand("set", "give one camera a new name, address settings or DHCP choice");
    addTargetOptions(*command, o->target);
    addPasswordOptions(*command, o->password);
    o->nameOption = command->add_option("--name", o->name, "the new device name (default: the current one)");
    o->newIpOption = command->add_option("--new-ip", o->newIp, "the new IP address (default: the current one)")
                         ->check(Ipv4Address)
                         ->type_name("IP");
    o->maskOption = command->add_option("--mask", o->mask, "the new subnet mask (default: the current one)")
                        ->check(Ipv4Address)
                        ->type_name("MASK");
    o->gatewayOption = command->add_option("--gateway", o->gateway, "the new gateway (default: the current one)")
                           ->check(Ipv4Address)
                           ->type_name("GW");
    o->dhcpOption = command->add_option("--dhcp", o->dhcp, "obtain the address by DHCP (default: the current choice)")
                        ->check(CLI::IsMember({"on", "off"}).description(""))
                        ->type_name("on|off");
    addLanOption(*command, o->lan);
    addWaitOption(*command, o->wait);
    return {command, [o] { return set(*o); }};
}

Command resetCommand(CLI::App& tool) {
    auto o = std::make_shared<ResetOptions>();
    CLI::App* command = tool.add_subcommand("reset", "restore one camera's factory settings");
    addTargetOptions(*command, o->target);
    addPasswordOptions(*command, o->password);
    addLanOption(*command, o->lan);
    addWaitOption(*command, o->wait);
    return {command, [o] { return reset(*o); }};
}

}  // namespace cli
