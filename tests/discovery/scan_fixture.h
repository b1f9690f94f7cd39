// Feeds datagrams to the parser and builds the scan document from them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device_table.h"
#include "parse_packet.h"
#include "scan_document.h"
#include "trace_capture.h"
#include "zelk.h"

struct ScanResult {
    int result = 0;
    int count = -1;
    std::string text;
    std::vector<DeviceInfo> devices = std::vector<DeviceInfo>(ZELK_MAX_DEVICES);
};

class ScanFixture : public ::testing::Test {
protected:
    void SetUp() override {
        zelk::g_deviceTable.count = 0;
        zelk::g_deviceTable.full = false;
    }

    int parse(const std::vector<uint8_t>& datagram) {
        return zelk::_parsePacket(datagram.data(), static_cast<int>(datagram.size()));
    }

    ScanResult generate(int capacity = ZELK_SCAN_TEXT_SIZE) {
        ScanResult r;
        std::vector<char> buffer(static_cast<size_t>(capacity) + 64, '\x7f');
        int textLength = capacity;
        r.result = zelk::_generatePacketInfo(&r.count, r.devices.data(), &textLength, buffer.data());
        if (r.result == ZELK_OK) {
            r.text.assign(buffer.data(), static_cast<size_t>(textLength));
            EXPECT_EQ(buffer[static_cast<size_t>(textLength)], '\0');
        }
        return r;
    }

    TraceCapture traces;
};
