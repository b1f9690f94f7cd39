#include "address_walk.h"
#include "zelk.h"

int zelk_set_deviceinfo_multi(const DeviceInfo* bounds, char* /*scanText*/, int cameraCount, const int* indices,
                              const char* localAddress) {
    const zelk::AddressPlan plan = zelk::planAddresses(bounds, cameraCount, indices, localAddress);
    return zelk::sendAddressPlan(plan, bounds, cameraCount, indices, localAddress);
}
