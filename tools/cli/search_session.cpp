#include "search_session.h"

#include <unistd.h>

#include "errors.h"
#include "trace.h"

namespace cli {

const Json::Value& SearchSession::camera(int index) const {
    return document["oScanData"]["oDATA_" + std::to_string(index)];
}

SearchSession runSearch(const std::string& lan) {
    SearchSession s{zelk::searchCameras(lan)};
    const int result = s.result;
    const std::string where = lan.empty() ? "any local address" : "local address " + lan;
    if (result == ZELK_ERR_SOCKET)
        throw Failure("cannot search: no socket could be prepared on " + where + " (" + std::to_string(result) + ")");
    if (result != ZELK_OK) throw Failure("search from " + where + " failed (" + std::to_string(result) + ")");
    if (s.document.isNull()) throw Failure("the scan document does not parse");
    return s;
}

void showTraces(bool shown) {
    if (shown) zelk::setTraceSink({});
    else zelk::setTraceSink([](std::string_view) {});
}

}  // namespace cli
