// Builds search replies for tests, item by item.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "packet.h"

struct ReplyCamera {
    std::array<uint8_t, 8> id{0x02, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0, 0};
    std::array<uint8_t, 4> ip{192, 168, 1, 20};
    std::array<uint8_t, 4> mask{255, 255, 255, 0};
    std::array<uint8_t, 4> gateway{192, 168, 1, 1};
    uint8_t dhcp = 0;
    std::string version = "1.2.3";
    std::string name = "Lobby";
    std::string model = "CX-200";
    std::string userId = "admin";
    std::string password = "secret";
    std::string rtsp1, rtsp2, rtsp3, web;
};

class ReplyBuilder {
public:
    explicit ReplyBuilder(uint32_t command = zelk::CMD_REPLY) : command_(command) {}

    ReplyBuilder& item(uint16_t type, const std::vector<uint8_t>& value) {
        items_.push_back({type, value});
        return *this;
    }
    ReplyBuilder& text(uint16_t type, const std::string& value, bool terminated = true) {
        std::vector<uint8_t> bytes(value.begin(), value.end());
        if (terminated) bytes.push_back(0);
        return item(type, bytes);
    }
    ReplyBuilder& network(const ReplyCamera& c) {
        std::vector<uint8_t> v(zelk::NETWORK_ITEM_SIZE, 0);
        std::copy(c.id.begin(), c.id.end(), v.begin());
        std::copy(c.ip.begin(), c.ip.end(), v.begin() + zelk::NET_IP);
        std::copy(c.mask.begin(), c.mask.end(), v.begin() + zelk::NET_MASK);
        std::copy(c.gateway.begin(), c.gateway.end(), v.begin() + zelk::NET_GATEWAY);
        v[zelk::NET_DHCP] = c.dhcp;
        return item(zelk::ITEM_NETWORK, v);
    }
    ReplyBuilder& account(const std::string& userId, const std::string& password) {
        std::vector<uint8_t> v(zelk::ACCOUNT_ITEM_SIZE, 0);
        std::copy(userId.begin(), userId.end(), v.begin());
        std::copy(password.begin(), password.end(), v.begin() + zelk::ACCOUNT_PASSWORD_OFFSET);
        return item(zelk::ITEM_ACCOUNT, v);
    }
    // The reply a camera sends: version, name and model first, then the rest.
    ReplyBuilder& camera(const ReplyCamera& c) {
        text(0x0101, c.version).text(0x0102, c.name).text(0x0103, c.model);
        network(c).account(c.userId, c.password);
        if (!c.rtsp1.empty()) text(zelk::ITEM_RTSP_URL1, c.rtsp1);
        if (!c.rtsp2.empty()) text(zelk::ITEM_RTSP_URL2, c.rtsp2);
        if (!c.rtsp3.empty()) text(zelk::ITEM_RTSP_URL3, c.rtsp3);
        if (!c.web.empty()) text(zelk::ITEM_WEB_URL, c.web);
        return *this;
    }
    ReplyBuilder& itemCount(int32_t count) {
        itemCount_ = count;
        countSet_ = true;
        return *this;
    }

    std::vector<uint8_t> bytes() const {
        zelk::PacketWriter w;
        zelk::IdcpHeader h;
        h.command = command_;
        h.itemCount = countSet_ ? itemCount_ : static_cast<int32_t>(items_.size());
        w.header(h);
        for (const auto& [type, value] : items_) w.item(type, value.data(), static_cast<uint16_t>(value.size()));
        return w.bytes();
    }

private:
    uint32_t command_;
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> items_;
    int32_t itemCount_ = 0;
    bool countSet_ = false;
};
