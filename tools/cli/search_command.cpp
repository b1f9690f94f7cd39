#include "search_command.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "arguments.h"
#include "camera_export.h"
#include "empty_search.h"
#include "search_session.h"
#include "terminal_text.h"
#include "text.h"
#include "version_cell.h"

namespace cli {

namespace {

struct SearchOptions {
    std::string lan;
    int probes = 1;
    bool json = false;
    bool csv = false;
    bool showPasswords = false;
    bool trace = false;
};

std::string cell(const std::string& text) {
    return terminalText(zelk::narrowText(rules::fieldCell(zelk::widenText(text))));
}

std::string cell(const Json::Value& camera, const char* key) { return cell(camera[key].asString()); }

void printTable(const SearchSession& s) {
    std::vector<std::vector<std::string>> rows{
        {"DEVICE NAME", "IP ADDRESS", "ADAPTER", "MAC ADDRESS", "MODEL", "FIRMWARE"}};
    for (int i = 0; i < s.count; ++i) {
        const Json::Value& c = s.camera(i);
        // The adapter tells which segment a camera is on when the workstation has several.
        const std::string adapter = static_cast<size_t>(i) < s.adapters.size() ? s.adapters[i].name : "";
        rows.push_back({cell(c, "sDeviceName"), cell(c, "sIP"), cell(adapter), cell(c, "sMac"), cell(c, "sModelName"),
                        terminalText(zelk::narrowText(rules::versionCell(zelk::widenText(c["sVersion"].asString()))))});
    }
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows) {
        for (size_t k = 0; k < row.size(); ++k) widths[k] = std::max(widths[k], terminalColumns(row[k]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t k = 0; k < row.size(); ++k) {
            line += row[k];
            if (k + 1 < row.size()) line += std::string(widths[k] - terminalColumns(row[k]) + 2, ' ');
        }
        std::printf("%s\n", line.c_str());
    }
    std::printf("%d camera%s\n", s.count, s.count == 1 ? "" : "s");
}

// The scan document as the library writes it, with the credentials emptied:
// the output of a search is often pasted into tickets and logs.
std::string documentWithoutCredentials(const SearchSession& s) {
    Json::Value document = s.document;
    Json::Value& cameras = document["oScanData"];
    if (cameras.isObject()) {
        for (const std::string& name : cameras.getMemberNames()) {
            for (const char* key : {"sPW", "sUserID"}) {
                if (cameras[name].isMember(key)) cameras[name][key] = "";
            }
        }
    }
    return Json::StyledWriter().write(document);
}

// The list as the window's Export writes it, for spreadsheets and site records.
std::string camerasCsv(const SearchSession& s) {
    std::vector<rules::ExportedCamera> cameras;
    for (int i = 0; i < s.count; ++i) cameras.push_back(rules::exportedCamera(s.devices[static_cast<size_t>(i)]));
    return rules::camerasCsv(cameras);
}

int search(const SearchOptions& o) {
    showTraces(o.trace);
    const SearchSession s = runSearch(o.lan, o.probes);
    if (o.csv) {
        const std::string text = camerasCsv(s);
        std::fwrite(text.data(), 1, text.size(), stdout);
    } else if (o.json) {
        const std::string text = o.showPasswords ? s.text : documentWithoutCredentials(s);
        std::fwrite(text.data(), 1, text.size(), stdout);
    } else {
        printTable(s);
    }
    if (s.count == 0) {
        const std::string cause = rules::emptySearchCause(s.diagnosis, o.lan);
        if (!cause.empty()) std::fprintf(stderr, "ostrel-cli: no camera found: %s\n", cause.c_str());
    }
    return 0;
}

}  // namespace

Command searchCommand(CLI::App& tool) {
    auto o = std::make_shared<SearchOptions>();
    CLI::App* command = tool.add_subcommand("search", "list the cameras that answer a search");
    command->add_option("--lan", o->lan, "search from the adapter with this local address (default: every adapter)")
        ->check(Ipv4Address)
        ->type_name("ADDRESS");
    command->add_option("--probes", o->probes, "send N probes over the first half of the window (a lossy segment)")
        ->check(CLI::Range(1, zelk::MAX_SEARCH_PROBES))
        ->type_name("N");
    CLI::Option* json = command->add_flag("--json", o->json, "print the scan document instead of the table");
    command->add_flag("--csv", o->csv,
                      "print the list as CSV (RFC 4180, UTF-8) without user ids and passwords, as Export writes it")
        ->excludes(json);
    command->add_flag("--show-passwords", o->showPasswords,
                      "keep the cameras' user ids and passwords in the scan document")
        ->needs(json);
    command->add_flag("--trace", o->trace, "write the library's trace lines to standard error");
    return {command, [o] { return search(*o); }};
}

}  // namespace cli
