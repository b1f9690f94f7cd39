#include "zelk_search.h"

#include <arpa/inet.h>


#include "device_table.h"
#include "scan_document.h"
#include "search.h"

namespace zelk {

namespace {

CameraAdapter publicAdapter(const ReplyAdapter& adapter) {
    char address[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &adapter.address, address, sizeof address);
    return CameraAdapter{adapter.index, adapter.name, address};
}

}  // namespace

SearchResult searchCameras(const std::string& localAddress, int textCapacity) {
    return searchCameras(localAddress, SearchOptions{}, textCapacity);
}

SearchResult searchCameras(const std::string& localAddress, const SearchOptions& options, int textCapacity) {
    SearchResult s;
    std::vector<char> buffer(static_cast<size_t>(textCapacity), 0);
    int textLength = textCapacity;
    ReplyStored onStored;
    if (options.onCamera) {
        onStored = [&](int index, const DeviceRecord& record, const ReplyAdapter& adapter) {
            DeviceInfo camera;
            fillDeviceInfo(record, camera);
            options.onCamera(index, camera, publicAdapter(adapter));
        };
    }
    s.result = searchDevices(&s.count, s.devices.data(), &textLength, buffer.data(), localAddress.c_str(),
                             ProbePlan{options.probes, options.spacing}, onStored);
    s.diagnosis = lastSearchDiagnosis();
    if (s.result != ZELK_OK) return s;
    for (int i = 0; i < s.count; ++i) s.adapters.push_back(cameraAdapter(i));
    s.dropped = zelk_last_search_dropped() != 0;
    s.text.assign(buffer.data(), static_cast<size_t>(textLength));
    if (!Json::Reader().parse(s.text, s.document)) s.document = Json::Value();
    return s;
}

CameraAdapter cameraAdapter(int index) {
    const ReplyAdapter* adapter = replyAdapter(deviceRecord(index));
    return adapter != nullptr ? publicAdapter(*adapter) : CameraAdapter{};
}

}  // namespace zelk
