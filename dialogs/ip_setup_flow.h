// "IP Setup": new name and address settings for one camera, or consecutive
// free addresses for several checked cameras.
#pragma once

#include "camera_list_host.h"

void runIpSetup(CameraListHost& host);
