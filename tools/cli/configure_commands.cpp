#include "configure_commands.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "arguments.h"
#include "camera_choice.h"
#include "errors.h"
#include "restart_check.h"
#include "search_session.h"
#include "terminal_text.h"
#include "text.h"
#include "zelk.h"

namespace cli {

namespace {

// What the library's refusals mean to the person at the terminal.
void checkResult(int result, const std::string& what) {
    switch (result) {
    case ZELK_OK: return;
    case ZELK_ERR_BAD_ADDRESS: throw Failure("an address, mask or gateway is not a dotted IPv4 address; nothing was sent");
    case ZELK_ERR_NO_ICMP:
        throw Failure("addresses cannot be probed here (no ICMP socket: run as root or open "
                      "net.ipv4.ping_group_range); nothing was sent");
    case ZELK_ERR_SOCKET: throw Failure("no socket could be prepared for the " + what + "; nothing was sent");
    default: throw Failure("the " + what + " was not sent (" + std::to_string(result) + ")");
    }
}

// The library reports each echo probe on standard output; here that belongs
// to the result, so the report goes to standard error while this lives.
class ProbeReportToStderr {
public:
    ProbeReportToStderr() {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~ProbeReportToStderr() {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    ProbeReportToStderr(const ProbeReportToStderr&) = delete;
    ProbeReportToStderr& operator=(const ProbeReportToStderr&) = delete;

private:
    int saved_;
};

void addLanOption(CLI::App& command, std::string& lan) {
    command.add_option("--lan", lan, "send from the adapter with this local address (default: every adapter)")
        ->check(Ipv4Address)
        ->type_name("ADDRESS");
}

struct SetOptions {
    CameraTarget target;
    PasswordSource password;
    std::string name, newIp, mask, gateway, dhcp, lan;
    const CLI::Option *nameOption, *newIpOption, *maskOption, *gatewayOption, *dhcpOption;
    bool wait = false;
};

// The name a camera keeps: the request carries only the first bytes of the field.
constexpr size_t SENT_NAME_BYTES = 28;

int set(const SetOptions& o) {
    checkTarget(o.target);
    const std::string password = readPassword(o.password);
    showTraces(false);
    SearchSession s = runSearch(o.lan);
    const int index = chosenCamera(s, o.target);
    checkPassword(s, index, password);
    warnOfSharedMac(s, index);

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

struct AssignOptions {
    std::vector<std::string> macs;
    std::string first, last, mask, gateway, lan;
    PasswordSource password;
};

int assign(const AssignOptions& o) {
    for (size_t k = 0; k < o.macs.size(); ++k) {
        for (size_t j = 0; j < k; ++j) {
            if (normalMac(o.macs[j]) == normalMac(o.macs[k])) throw UsageError("--mac: " + o.macs[k] + " is named twice");
        }
    }
    const std::string password = readPassword(o.password);
    showTraces(false);
    DeviceInfo bounds[2] = {};
    zelk::setField(bounds[0].ipAddress, o.first);
    zelk::setField(bounds[0].subnetMask, o.mask);
    zelk::setField(bounds[0].gateway, o.gateway);
    zelk::setField(bounds[1].ipAddress, o.last);

    SearchSession s = runSearch(o.lan);
    std::vector<int> indices;
    for (const std::string& mac : o.macs)
        indices.push_back(cameraByMac(s, mac, "they would all take one address: give them theirs one by one with set --ip"));
    // As the window asks for the password of the last camera chosen.
    checkPassword(s, indices.back(), password);

    char scan[1] = {};
    {
        const ProbeReportToStderr report;
        checkResult(
            zelk_set_deviceinfo_multi(bounds, scan, static_cast<int>(indices.size()), indices.data(), o.lan.c_str()),
            "multi-set request");
    }
    std::printf("sent multi-set for");
    for (int index : indices) std::printf(" %s", describe(s, index).c_str());
    std::printf(": the free addresses from %s up to %s in this order, mask %s, gateway %s\n", bounds[0].ipAddress,
                bounds[1].ipAddress, bounds[0].subnetMask, bounds[0].gateway);
    return STATUS_OK;
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

Command assignCommand(CLI::App& tool) {
    auto o = std::make_shared<AssignOptions>();
    CLI::App* command = tool.add_subcommand(
        "assign", "give several cameras consecutive free addresses of a range (the password is the last camera's)");
    command->add_option("--mac", o->macs, "a camera to configure, in the order the addresses are handed out")
        ->required()
        ->check(MacAddress)
        ->type_name("MAC")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command->add_option("--first", o->first, "the first address of the range")->required()->check(Ipv4Address)->type_name("IP");
    command->add_option("--last", o->last, "the last address of the range")->required()->check(Ipv4Address)->type_name("IP");
    command->add_option("--mask", o->mask, "the subnet mask every camera gets")->required()->check(Ipv4Address)->type_name("MASK");
    command->add_option("--gateway", o->gateway, "the gateway every camera gets")->required()->check(Ipv4Address)->type_name("GW");
    addPasswordOptions(*command, o->password);
    addLanOption(*command, o->lan);
    return {command, [o] { return assign(*o); }};
}

}  // namespace cli
