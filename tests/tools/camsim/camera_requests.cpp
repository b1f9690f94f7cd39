#include "camera_requests.h"

#include <cstring>

#include "packet.h"

namespace camsimtest {

namespace {

void credentials(zelk::PacketWriter& w, const std::string& user, const std::string& password) {
    w.text(user.substr(0, 9).c_str(), 128);
    w.text(password.substr(0, 11).c_str(), 256);
}

}  // namespace

camsim::Camera camera(uint8_t last, const std::string& password) {
    Json::Value j;
    j["mac"] = "02-00-00-00-00-0" + std::to_string(last);
    j["ip"] = "192.168.1.3" + std::to_string(last);
    j["mask"] = "255.255.255.0";
    j["gateway"] = "192.168.1.1";
    j["name"] = "cam";
    j["userId"] = "administrator";
    j["password"] = password;
    j["factory"]["ip"] = "192.168.1.200";
    j["factory"]["name"] = "Factory";
    return camsim::cameraFromJson(j);
}

std::vector<uint8_t> setRequest(const camsim::Camera& target, const std::string& password) {
    zelk::PacketWriter w;
    zelk::IdcpHeader h;
    h.command = zelk::CMD_SET;
    std::memcpy(h.target.data(), target.id.data(), 8);
    h.itemCount = 3;
    w.header(h);
    w.itemHead(zelk::ITEM_NETWORK, 24);
    w.raw(target.id.data(), 8);
    const uint8_t addresses[12] = {10, 0, 0, 9, 255, 255, 0, 0, 10, 0, 0, 1};
    w.raw(addresses, 12);
    w.u8(1);
    w.zeros(3);
    w.itemHead(zelk::ITEM_NAME, 28);
    w.text("Renamed", 28);
    w.itemHead(zelk::ITEM_ACCOUNT, 388);
    credentials(w, target.now.userId, password);
    w.zeros(4);
    return w.bytes();
}

std::vector<uint8_t> factoryRequest(const camsim::Camera& target, const std::string& password) {
    zelk::PacketWriter w;
    zelk::IdcpHeader h;
    h.command = zelk::CMD_SET;
    std::memcpy(h.target.data(), target.id.data(), 8);
    h.itemCount = 2;
    w.header(h);
    w.itemHead(zelk::ITEM_ACCOUNT, 388);
    credentials(w, target.now.userId, password);
    w.zeros(4);
    w.itemHead(zelk::ITEM_FACTORY_DEFAULT, 1);
    w.zeros(4);
    return w.bytes();
}

std::vector<uint8_t> multiRequest(const std::vector<camsim::Camera>& targets, const std::string& password) {
    zelk::PacketWriter w;
    zelk::IdcpHeader h;
    h.command = zelk::CMD_MULTI_SET;
    h.itemCount = 2;
    w.header(h);
    w.u16(static_cast<uint16_t>(targets.size()));
    w.u16(1);
    uint8_t host = 50;
    for (const auto& t : targets) {
        w.raw(t.id.data(), 8);
        const uint8_t address[4] = {192, 168, 1, host++};
        w.raw(address, 4);
        credentials(w, t.now.userId, password);
        w.zeros(4);
    }
    w.itemHead(zelk::ITEM_NETWORK, 24);
    w.zeros(12);
    const uint8_t maskAndGateway[8] = {255, 255, 0, 0, 192, 168, 0, 1};
    w.raw(maskAndGateway, 8);
    w.zeros(4);
    return w.bytes();
}

}  // namespace camsimtest
