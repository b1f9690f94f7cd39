// Choosing the cameras of a fresh search by MAC or IP address.
#pragma once

#include <string>

#include "options.h"
#include "search_session.h"

namespace cli {

// The index of the camera with this MAC address (dashes or colons, any case); throws Failure.
int cameraByMac(const SearchSession& s, const std::string& mac);

// The index named by --mac or --ip; throws UsageError or Failure.
int chosenCamera(const SearchSession& s, const Options& options);

// Refuses unless `typed` is the password the camera reported.
void checkPassword(const SearchSession& s, int index, const std::string& typed);

// "02-1a-2b-3c-4d-5e (192.168.1.21)"
std::string describe(const SearchSession& s, int index);

}  // namespace cli
