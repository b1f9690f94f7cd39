#include "configure_commands.h"

#include <cstdio>

#include "camera_choice.h"
#include "options.h"
#include "search_session.h"
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

const std::set<std::string> SET_OPTIONS{"--mac", "--ip", "--password", "--name", "--new-ip", "--mask", "--gateway",
                                        "--dhcp", "--lan"};

}  // namespace

int setCommand(const std::vector<std::string>& args) {
    const Options options(args, SET_OPTIONS, {});
    showTraces(false);
    const std::string lan = options.value("--lan");
    SearchSession s = runSearch(lan);
    const int index = chosenCamera(s, options);
    checkPassword(s, index, options.required("--password"));

    const Json::Value& camera = s.camera(index);
    const std::string dhcp = options.value("--dhcp", camera["bDHCP"].asBool() ? "on" : "off");
    if (dhcp != "on" && dhcp != "off") throw UsageError("--dhcp takes on or off");
    DeviceInfo settings{};
    zelk::setField(settings.deviceName, options.value("--name", camera["sDeviceName"].asString()));
    zelk::setField(settings.ipAddress, options.value("--new-ip", camera["sIP"].asString()));
    zelk::setField(settings.subnetMask, options.value("--mask", camera["sNetMask"].asString()));
    zelk::setField(settings.gateway, options.value("--gateway", camera["sGateWay"].asString()));
    zelk::setField(settings.macAddress, camera["sMac"].asString());
    settings.dhcp[0] = dhcp == "on" ? 1 : 0;

    char scan[1] = {};
    checkResult(zelk_set_deviceinfo(index, s.devices.data(), settings, scan, lan.c_str()), "set-device-info request");
    std::printf("sent set-device-info to %s: name=%s ip=%s mask=%s gateway=%s dhcp=%s\n", describe(s, index).c_str(),
                settings.deviceName, settings.ipAddress, settings.subnetMask, settings.gateway, dhcp.c_str());
    return 0;
}

int resetCommand(const std::vector<std::string>& args) {
    const Options options(args, {"--mac", "--ip", "--password", "--lan"}, {});
    showTraces(false);
    const std::string lan = options.value("--lan");
    SearchSession s = runSearch(lan);
    const int index = chosenCamera(s, options);
    checkPassword(s, index, options.required("--password"));
    char scan[1] = {};
    checkResult(zelk_factory_default(index, scan, s.devices.data(), lan.c_str()), "factory-default request");
    std::printf("sent factory-default to %s\n", describe(s, index).c_str());
    return 0;
}

int assignCommand(const std::vector<std::string>& args) {
    const Options options(args, {"--mac", "--first", "--last", "--mask", "--gateway", "--password", "--lan"}, {});
    showTraces(false);
    const std::vector<std::string> macs = options.all("--mac");
    if (macs.empty()) throw UsageError("--mac is required");
    DeviceInfo bounds[2] = {};
    zelk::setField(bounds[0].ipAddress, options.required("--first"));
    zelk::setField(bounds[0].subnetMask, options.required("--mask"));
    zelk::setField(bounds[0].gateway, options.required("--gateway"));
    zelk::setField(bounds[1].ipAddress, options.required("--last"));
    const std::string password = options.required("--password");

    const std::string lan = options.value("--lan");
    SearchSession s = runSearch(lan);
    std::vector<int> indices;
    for (const std::string& mac : macs) indices.push_back(cameraByMac(s, mac));
    // As the window asks for the password of the last camera chosen.
    checkPassword(s, indices.back(), password);

    char scan[1] = {};
    std::fflush(stdout);
    checkResult(zelk_set_deviceinfo_multi(bounds, scan, static_cast<int>(indices.size()), indices.data(), lan.c_str()),
                "multi-set request");
    std::printf("sent multi-set for");
    for (int index : indices) std::printf(" %s", describe(s, index).c_str());
    std::printf(": the free addresses from %s up to %s in this order, mask %s, gateway %s\n", bounds[0].ipAddress,
                bounds[1].ipAddress, bounds[0].subnetMask, bounds[0].gateway);
    return 0;
}

}  // namespace cli
