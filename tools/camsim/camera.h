// A simulated camera: what it reports and what it acts on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <json/json.h>

namespace camsim {

using Address = std::array<uint8_t, 4>;

struct CameraSettings {
    Address ip{};
    Address mask{};
    Address gateway{};
    bool dhcp = false;
    std::string name;
    std::string model;
    std::string version;
    std::string userId;
    std::string password;
    std::string webUrl;
    std::array<std::string, 3> rtspUrls;
};

struct Camera {
    std::array<uint8_t, 8> id{};  // MAC address and the two bytes after it
    CameraSettings now;
    CameraSettings factory;
};

// Reads {"cameras": [...]} from a profile file; throws std::runtime_error.
std::vector<Camera> loadProfile(const std::string& path);
Camera cameraFromJson(const Json::Value& json);

std::string addressText(const Address& a);
std::string macText(const std::array<uint8_t, 8>& id);
int prefixLength(const Address& mask);

// The search reply: version, name and model first, then network, account,
// RTSP and web URL items.
std::vector<uint8_t> searchReply(const Camera& camera);

}  // namespace camsim
