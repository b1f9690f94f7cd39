// What the simulated cameras do with the requests the workstation sends.
#include <gtest/gtest.h>

#include <cstring>

#include "camera.h"
#include "camera_requests.h"
#include "packet.h"
#include "requests.h"

namespace {

using camsimtest::camera;
using camsimtest::factoryRequest;
using camsimtest::multiRequest;
using camsimtest::setRequest;

camsim::RequestOutcome handle(const std::vector<camsim::Camera>& cameras, const std::vector<uint8_t>& datagram) {
    return camsim::handleRequest(cameras, datagram.data(), static_cast<int>(datagram.size()));
}

TEST(CameraRequests, ASetRequestForTheRightCameraWithItsCredentialsChangesIt) {
    // The workstation cuts credentials to 9 and 11 bytes; the camera compares them so.
    const std::vector<camsim::Camera> cameras{camera(1, "password-long-1"), camera(2, "pw2")};
    const auto outcome = handle(cameras, setRequest(cameras[0], "password-long-1"));
    EXPECT_EQ(outcome.kind, camsim::RequestKind::SetDeviceInfo);
    ASSERT_EQ(outcome.changes.size(), 1u);
    EXPECT_EQ(outcome.changes[0].camera, 0u);
    const camsim::CameraSettings& s = outcome.changes[0].settings;
    EXPECT_EQ(s.name, "Renamed");
    EXPECT_EQ(camsim::addressText(s.ip), "10.0.0.9");
    EXPECT_EQ(camsim::addressText(s.mask), "255.255.0.0");
    EXPECT_EQ(camsim::addressText(s.gateway), "10.0.0.1");
    EXPECT_TRUE(s.dhcp);
}

TEST(CameraRequests, ASetRequestWithoutANameItemKeepsTheName) {
    const std::vector<camsim::Camera> cameras{camera(1, "secret")};
    std::vector<uint8_t> request = setRequest(cameras[0], "secret");
    // Drop the 32-byte name item that follows the network item, one item fewer.
    const size_t nameAt = zelk::IDCP_HEADER_SIZE + 4 + zelk::NETWORK_ITEM_SIZE;
    request.erase(request.begin() + static_cast<long>(nameAt), request.begin() + static_cast<long>(nameAt) + 32);
    request[24] = 2;
    ASSERT_EQ(request.size(), 448u);
    const auto outcome = handle(cameras, request);
    ASSERT_EQ(outcome.changes.size(), 1u);
    EXPECT_EQ(outcome.changes[0].settings.name, "cam");
    EXPECT_EQ(camsim::addressText(outcome.changes[0].settings.ip), "10.0.0.9");
}

TEST(CameraRequests, WrongCredentialsOrAnotherTargetChangeNothing) {
    const std::vector<camsim::Camera> cameras{camera(1, "secret")};
    const camsim::Camera stranger = camera(7, "secret");
    const std::vector<uint8_t> refused[] = {
        setRequest(cameras[0], "Secret"), factoryRequest(cameras[0], "secret "), multiRequest(cameras, "wrong"),
        setRequest(stranger, "secret"), factoryRequest(stranger, "secret"),
    };
    for (const auto& datagram : refused) EXPECT_TRUE(handle(cameras, datagram).changes.empty());
}

TEST(CameraRequests, FactoryDefaultRestoresTheFactoryProfile) {
    const std::vector<camsim::Camera> cameras{camera(1, "secret")};
    const auto outcome = handle(cameras, factoryRequest(cameras[0], "secret"));
    EXPECT_EQ(outcome.kind, camsim::RequestKind::FactoryDefault);
    ASSERT_EQ(outcome.changes.size(), 1u);
    EXPECT_EQ(outcome.changes[0].settings.name, "Factory");
    EXPECT_EQ(camsim::addressText(outcome.changes[0].settings.ip), "192.168.1.200");
}

TEST(CameraRequests, MultiSetGivesEachListedCameraItsEntry) {
    const std::vector<camsim::Camera> cameras{camera(1, "secret"), camera(2, "secret"), camera(3, "secret")};
    const auto outcome = handle(cameras, multiRequest({cameras[2], cameras[0]}, "secret"));
    ASSERT_EQ(outcome.changes.size(), 2u);
    EXPECT_EQ(outcome.changes[0].camera, 2u);
    EXPECT_EQ(camsim::addressText(outcome.changes[0].settings.ip), "192.168.1.50");
    EXPECT_EQ(outcome.changes[1].camera, 0u);
    EXPECT_EQ(camsim::addressText(outcome.changes[1].settings.ip), "192.168.1.51");
    EXPECT_EQ(camsim::addressText(outcome.changes[1].settings.mask), "255.255.0.0");
    EXPECT_EQ(camsim::addressText(outcome.changes[1].settings.gateway), "192.168.0.1");
    EXPECT_FALSE(outcome.changes[1].settings.dhcp);
}

TEST(CameraRequests, MultiSetCountsWholeEntriesAndIgnoresTrailingBytes) {
    const std::vector<camsim::Camera> cameras{camera(1, "secret")};
    std::vector<uint8_t> datagram = multiRequest(cameras, "secret");
    datagram.resize(datagram.size() + 10, 0xEE);
    const auto outcome = handle(cameras, datagram);
    ASSERT_EQ(outcome.changes.size(), 1u);
    EXPECT_EQ(camsim::addressText(outcome.changes[0].settings.mask), "255.255.0.0");
}

TEST(CameraRequests, TruncatedRequestsAreIgnored) {
    const std::vector<camsim::Camera> cameras{camera(1, "secret")};
    for (const auto& whole : {setRequest(cameras[0], "secret"), factoryRequest(cameras[0], "secret"),
                              multiRequest(cameras, "secret")}) {
        for (size_t cut : {size_t{5}, size_t{100}, whole.size() - 28}) {
            const std::vector<uint8_t> datagram(whole.begin(), whole.end() - static_cast<long>(cut));
            EXPECT_TRUE(handle(cameras, datagram).changes.empty()) << whole.size() << " less " << cut;
        }
    }
}

TEST(SearchReply, CarriesVersionNameAndModelFirstThenTheRest) {
    camsim::Camera c = camera(1, "secret");
    c.now.version = "1.2.3";
    c.now.model = "CX";
    c.now.rtspUrls = {"rtsp://a", "", "rtsp://c"};
    const auto reply = camsim::searchReply(c);
    const zelk::IdcpHeader h = zelk::decodeHeader(reply.data());
    EXPECT_EQ(h.command, zelk::CMD_REPLY);
    zelk::ItemReader reader(reply.data(), static_cast<int>(reply.size()));
    std::vector<uint16_t> types;
    zelk::IdcpItem item;
    for (int i = 0; i < h.itemCount && reader.next(item); ++i) types.push_back(item.type);
    EXPECT_FALSE(reader.overrun());
    EXPECT_EQ(types, (std::vector<uint16_t>{0x0101, 0x0102, 0x0103, zelk::ITEM_NETWORK, zelk::ITEM_ACCOUNT,
                                            zelk::ITEM_RTSP_URL1, zelk::ITEM_RTSP_URL3}));
}

}  // namespace
