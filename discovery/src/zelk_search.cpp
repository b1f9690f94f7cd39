#include "zelk_search.h"

namespace zelk {

SearchResult searchCameras(const std::string& localAddress, int textCapacity) {
    SearchResult s;
    std::vector<char> buffer(static_cast<size_t>(textCapacity), 0);
    int textLength = textCapacity;
    s.result = zelk_search_device(&s.count, s.devices.data(), &textLength, buffer.data(), localAddress.c_str());
    if (s.result != ZELK_OK) return s;
    s.dropped = zelk_last_search_dropped() != 0;
    s.text.assign(buffer.data(), static_cast<size_t>(textLength));
    if (!Json::Reader().parse(s.text, s.document)) s.document = Json::Value();
    return s;
}

}  // namespace zelk
