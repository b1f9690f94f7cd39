// The commands that act on the cameras of the list without changing them,
// and the choosing rule as every command applies it.
#pragma once

#include "camera_list_host.h"

// Shows the rule's message and returns false when the command stops.
bool chooseForCommand(CameraListHost& host, rules::Command command, rules::Choice& choice);

// "Device Info" on the chosen camera.
void runDeviceInfo(CameraListHost& host);
// The information of the camera in list row `row` (-1: none), as a double click asks for it.
void runDeviceInfoOfRow(CameraListHost& host, int row);
// "Web Browser": the chosen camera's web page.
void runWebBrowser(CameraListHost& host);
