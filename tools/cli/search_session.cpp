#include "search_session.h"

#include <unistd.h>

#include <cstdio>

#include "errors.h"
#include "trace.h"

namespace cli {

const Json::Value& SearchSession::camera(int index) const {
    return document["oScanData"]["oDATA_" + std::to_string(index)];
}

SearchSession runSearch(const std::string& lan, int probes) {
    zelk::SearchOptions options;
    options.probes = probes;
    SearchSession s{zelk::searchCameras(lan, options)};
    const int result = s.result;
    const std::string where = lan.empty() ? "any local address" : "local address " + lan;
    if (result == ZELK_ERR_SOCKET)
        throw Failure("cannot search: no socket could be prepared on " + where + " (" + std::to_string(result) + ")");
    if (result != ZELK_OK) throw Failure("search from " + where + " failed (" + std::to_string(result) + ")");
    if (s.document.isNull()) throw Failure("the scan document does not parse");
    // Without this the dropped cameras would pass for absent ones: a rogue
    // sender can fill the table before the real cameras answer.
    if (s.dropped)
        std::fprintf(stderr,
                     "ostrel-cli: the table of the search was full: %d cameras are listed, others that answered are "
                     "not (search from one adapter with --lan, or on a smaller segment)\n",
                     s.count);
    return s;
}

void showTraces(bool shown) {
    if (shown) zelk::setTraceSink({});
    else zelk::setTraceSink([](std::string_view) {});
}

}  // namespace cli
