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

// The index of the camera with this MAC address (dashes or colons, any case); throws Failure.
int cameraByMac(const SearchSession& s, const std::string& mac);

// The index named by --mac or --ip; throws Failure.
int chosenCamera(const SearchSession& s, const CameraTarget& target);

// Refuses unless `typed` is the password the camera reported.
void checkPassword(const SearchSession& s, int index, const std::string& typed);

// "02-1a-2b-3c-4d-5e (192.168.1.21)"
std::string describe(const SearchSession& s, int index);

}  // namespace cli
