#include "search_command.h"

#include <algorithm>
#include <cstdio>

#include "options.h"
#include "search_session.h"
#include "text.h"
#include "version_cell.h"

namespace cli {

namespace {

std::string cell(const Json::Value& camera, const char* key) {
    return zelk::narrowText(rules::fieldCell(zelk::widenText(camera[key].asString())));
}

void printTable(const SearchSession& s) {
    std::vector<std::vector<std::string>> rows{{"DEVICE NAME", "IP ADDRESS", "MAC ADDRESS", "MODEL", "FIRMWARE"}};
    for (int i = 0; i < s.count; ++i) {
        const Json::Value& c = s.camera(i);
        rows.push_back({cell(c, "sDeviceName"), cell(c, "sIP"), cell(c, "sMac"), cell(c, "sModelName"),
                        zelk::narrowText(rules::versionCell(zelk::widenText(c["sVersion"].asString())))});
    }
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows) {
        for (size_t k = 0; k < row.size(); ++k) widths[k] = std::max(widths[k], row[k].size());
    }
    for (const auto& row : rows) {
        std::string line;
        for (size_t k = 0; k < row.size(); ++k) {
            line += row[k];
            if (k + 1 < row.size()) line += std::string(widths[k] - row[k].size() + 2, ' ');
        }
        std::printf("%s\n", line.c_str());
    }
    std::printf("%d camera%s\n", s.count, s.count == 1 ? "" : "s");
}

}  // namespace

int searchCommand(const std::vector<std::string>& args) {
    const Options options(args, {"--lan"}, {"--json", "--trace"});
    showTraces(options.has("--trace"));
    const SearchSession s = runSearch(options.value("--lan"));
    if (options.has("--json")) {
        std::fwrite(s.text.data(), 1, s.text.size(), stdout);
    } else {
        printTable(s);
    }
    return 0;
}

}  // namespace cli
