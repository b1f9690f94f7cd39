// "Restore": one camera back to its factory settings.
#pragma once

#include "camera_list_host.h"

void runRestore(CameraListHost& host);
