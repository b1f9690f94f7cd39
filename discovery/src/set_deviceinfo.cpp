#include <string>

#include "broadcast_socket.h"
#include "config_request.h"
#include "ipv4_text.h"
#include "trace.h"
#include "zelk.h"

namespace {

const zelk::SendTraces SET_TRACES{"[sendto into zelk_set_deviceinfo] Can send packet\n",
                                  "[sendto into zelk_set_deviceinfo] Can not send packet!!\n", ZELK_ERR_SEND_SET};
const zelk::SendTraces FACTORY_TRACES{"[sendto into zelk_factory_default] Can send packet\n",
                                      "[sendto into zelk_factory_default] Can not send packet!!\n",
                                      ZELK_ERR_SEND_FACTORY};

int sendAndClose(const zelk::DeviceRecord* camera, const char* localAddress, const std::vector<uint8_t>& request,
                 const zelk::SendTraces& traces) {
    int result = zelk::prepareLibrarySocket(localAddress);
    if (result != ZELK_OK) return result;
    result = zelk::sendRequest(request, traces, zelk::adaptersOfCameras({camera}));
    if (result == ZELK_OK) zelk::closeLibrarySocket();
    return result;
}

}  // namespace

int zelk_set_deviceinfo(int index, const DeviceInfo* devices, DeviceInfo settings, char* /*scanText*/,
                        const char* localAddress) {
    using namespace zelk;
    const DeviceRecord* camera = cameraOfLastSearch(index, "zelk_set_deviceinfo");
    if (camera == nullptr) return ZELK_ERR_BAD_INDEX;
    // The addresses go out with the DHCP byte 1 as well, so they are read the same way.
    const auto ip = dottedAddress(settings.ipAddress);
    const auto mask = dottedAddress(settings.subnetMask);
    const auto gateway = dottedAddress(settings.gateway);
    if (!ip || !mask || !gateway) {
        debugTrace("[inet_addr into zelk_set_deviceinfo] Can not read dotted address\n");
        return ZELK_ERR_BAD_ADDRESS;
    }
    return sendAndClose(camera, localAddress, setDeviceInfoRequest(*camera, devices[index], settings, *ip, *mask, *gateway),
                        SET_TRACES);
}

int zelk_factory_default(int index, char* /*scanText*/, const DeviceInfo* devices, const char* localAddress) {
    using namespace zelk;
    const DeviceRecord* camera = cameraOfLastSearch(index, "zelk_factory_default");
    if (camera == nullptr) return ZELK_ERR_BAD_INDEX;
    return sendAndClose(camera, localAddress, factoryDefaultRequest(*camera, devices[index]), FACTORY_TRACES);
}
