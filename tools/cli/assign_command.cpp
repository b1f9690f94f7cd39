#include "assign_command.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "address_walk.h"
#include "arguments.h"
#include "camera_choice.h"
#include "errors.h"
#include "ipv4_text.h"
#include "network_settings.h"
#include "request_support.h"
#include "restart_check.h"
#include "search_session.h"
#include "text.h"

namespace cli {

namespace {

struct AssignOptions {
    std::vector<std::string> macs;
    std::string first, last, mask, gateway, lan;
    PasswordSource password;
    bool dryRun = false;
    bool wait = false;
};

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

// Everything about the range that can be refused before a search.
void checkArguments(const AssignOptions& o) {
    for (size_t k = 0; k < o.macs.size(); ++k) {
        for (size_t j = 0; j < k; ++j) {
            if (normalMac(o.macs[j]) == normalMac(o.macs[k])) throw UsageError("--mac: " + o.macs[k] + " is named twice");
        }
    }
    if (const auto problem = rules::rangeProblem(o.first, o.last)) throw UsageError("--first, --last: " + *problem);
    const auto first = *zelk::dottedAddress(o.first.c_str(), o.first.size() + 1);
    const auto last = *zelk::dottedAddress(o.last.c_str(), o.last.size() + 1);
    if (first[3] > last[3])
        throw UsageError("--first, --last: the first address " + o.first + " lies above the last " + o.last + ".");
    // The walk skips the network and broadcast addresses itself: what is left
    // to refuse is the mask and the gateway, judged from the range's first
    // address that is a host address.
    for (int number = first[3]; number <= last[3]; ++number) {
        const std::string candidate = o.first.substr(0, o.first.rfind('.') + 1) + std::to_string(number);
        const auto problem = rules::unusableSettings(candidate, o.mask, o.gateway);
        if (!problem) return;
        if (problem->field == rules::SettingsField::Mask) throw UsageError("--mask: " + problem->message);
        if (problem->field == rules::SettingsField::Gateway) throw UsageError("--gateway: " + problem->message);
    }
}

int assign(const AssignOptions& o) {
    checkArguments(o);
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

    const int count = static_cast<int>(indices.size());
    zelk::AddressPlan plan;
    {
        const ProbeReportToStderr report;
        plan = zelk::planAddresses(bounds, count, indices.data(), o.lan.c_str());
    }
    checkResult(plan.result, "multi-set request");
    for (const zelk::SkippedAddress& skipped : plan.skipped)
        std::printf("skipped %s: %s\n", skipped.address.c_str(), zelk::skipReasonText(skipped.reason));
    std::vector<std::string> unplaced;
    std::vector<ExpectedCamera> placed;
    for (int k = 0; k < count; ++k) {
        const std::string& address = plan.assigned[static_cast<size_t>(k)];
        if (address.empty()) {
            std::printf("%s gets no address\n", describe(s, indices[k]).c_str());
            unplaced.push_back(describe(s, indices[k]));
            continue;
        }
        std::printf("%s gets %s\n", describe(s, indices[k]).c_str(), address.c_str());
        ExpectedCamera expected;
        expected.mac = s.camera(indices[k])["sMac"].asString();
        expected.ip = address;
        expected.mask = o.mask;
        expected.gateway = o.gateway;
        expected.dhcp = false;
        placed.push_back(expected);
    }

    if (o.dryRun) {
        std::fputs("ostrel-cli: dry run: nothing was sent\n", stderr);
    } else if (!placed.empty()) {
        checkResult(zelk::sendAddressPlan(plan, bounds, count, indices.data(), o.lan.c_str()), "multi-set request");
        std::printf("sent multi-set for");
        for (const ExpectedCamera& camera : placed) std::printf(" %s", camera.mac.c_str());
        std::printf(": mask %s, gateway %s\n", o.mask.c_str(), o.gateway.c_str());
    }
    int status = STATUS_OK;
    if (!unplaced.empty()) {
        std::string list;
        for (const std::string& camera : unplaced) list += (list.empty() ? "" : ", ") + camera;
        std::fprintf(stderr, "ostrel-cli: no free address of %s to %s was left for %s%s\n", o.first.c_str(),
                     o.last.c_str(), list.c_str(), o.dryRun || placed.empty() ? "" : "; the others were sent theirs");
        status = STATUS_UNSETTLED;
    }
    if (o.wait && !o.dryRun && !placed.empty()) {
        std::fflush(stdout);
        if (!confirmRestart(placed, o.lan, restartSeconds(1))) status = STATUS_UNSETTLED;
    }
    return status;
}

}  // namespace

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
    command->add_flag("--dry-run", o->dryRun, "probe the range and print the plan, but send nothing");
    addWaitOption(*command, o->wait);
    command->get_option("--wait")->excludes(command->get_option("--dry-run"));
    return {command, [o] { return assign(*o); }};
}

}  // namespace cli
