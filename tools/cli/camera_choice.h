// Choosing the cameras of a fresh search by MAC or IP address.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "search_session.h"

namespace cli {

// The camera a single-camera command acts on: --mac or --ip.
struct CameraTarget {
    std::string mac;
    std::string ip;
    const CLI::Option* macOption = nullptr;
    const CLI::Option* ipOption = nullptr;
};
void addTargetOptions(CLI::App& command, CameraTarget& target);

// Refuses a command line that names no camera, before anything is searched.
void checkTarget(const CameraTarget& target);

// A MAC address as the search reports it: dashes, lower case.
std::string normalMac(std::string mac);

// The index of the camera with this MAC address (dashes or colons, any case);
// throws Failure, with `advice` when several cameras report it.
int cameraByMac(const SearchSession& s, const std::string& mac, const std::string& advice);

// The index named by --mac or --ip; throws Failure.
int chosenCamera(const SearchSession& s, const CameraTarget& target);

// Says on standard error which other cameras report the MAC address of
// camera `index`: the request names its camera by MAC, so they obey it too.
void warnOfSharedMac(const SearchSession& s, int index);

// Refuses unless `typed` is the password the camera reported.
void checkPassword(const SearchSession& s, int index, const std::string& typed);

// "02-1a-2b-3c-4d-5e (192.168.1.21)"
std::string describe(const SearchSession& s, int index);

}  // namespace cli
