// Requests sent to the simulator on the virtual LAN: run by ostrel-lab with
// the cameras of pair.json and a restart delay of 0. What the cameras did
// shows in the simulator's log and in the next search.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/socket.h>
#include <unistd.h>


#include "camera.h"
#include "camera_requests.h"
#include "lab_log.h"
#include "packet.h"
#include "trace.h"
#include "zelk.h"
#include "zelk_search.h"

namespace {

// The profile the lab runs, from the command line: a path built into the
// program would be out of reach when the test runs from a staged copy.
const char* pairProfile = nullptr;

void broadcast(const std::vector<uint8_t>& datagram) {
    const int sock = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(sock, 0);
    int on = 1;
    setsockopt(sock, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(zelk::IDCP_PORT);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    EXPECT_EQ(::sendto(sock, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
              static_cast<ssize_t>(datagram.size()));
    ::close(sock);
}

// Device name by IP address, from one search.
std::map<std::string, std::string> search() {
    zelk::setTraceSink([](std::string_view) {});
    const zelk::SearchResult s = zelk::searchCameras("", 102400);
    EXPECT_EQ(s.result, ZELK_OK);
    std::map<std::string, std::string> found;
    for (int i = 0; i < s.count; ++i) found[s.devices[i].ipAddress] = s.devices[i].deviceName;
    return found;
}

class LanRequests : public testing::Test {
protected:
    std::vector<camsim::Camera> cameras = camsim::loadProfile(pairProfile);
    const camsim::Camera& first = cameras[0];   // 02-00-00-00-00-01, password "password-long-1"
    const camsim::Camera& second = cameras[1];  // 02-00-00-00-00-02, password "pw2"
};

TEST_F(LanRequests, WellFormedRequestsAreObeyedOthersChangeNothing) {
    broadcast(camsimtest::setRequest(second, "PW2"));
    broadcast(camsimtest::setRequest(camsimtest::camera(7, "pw2"), "pw2"));
    broadcast(camsimtest::factoryRequest(first, "Password-long-1"));
    EXPECT_TRUE(testlab::labLogged("set-device-info for 02-00-00-00-00-02: refused (credentials)"));
    EXPECT_TRUE(testlab::labLogged("set-device-info for 02-00-00-00-00-07: ignored (another target)"));
    EXPECT_TRUE(testlab::labLogged("factory-default for 02-00-00-00-00-01: refused (credentials)"));
    EXPECT_EQ(search(), (std::map<std::string, std::string>{{"192.168.1.31", "First"}, {"192.168.1.32", "Second"}}));

    // The workstation cuts the password to 11 bytes: the camera compares no more.
    broadcast(camsimtest::setRequest(second, "pw2"));
    broadcast(camsimtest::factoryRequest(first, "password-long-and-more"));
    EXPECT_TRUE(testlab::labLogged("set-device-info for 02-00-00-00-00-02: accepted (name=Renamed, ip=10.0.0.9, "
                       "mask=255.255.0.0, gateway=10.0.0.1, dhcp=1)"));
    EXPECT_TRUE(testlab::labLogged("restarted 02-00-00-00-00-02 as 10.0.0.9"));
    EXPECT_TRUE(testlab::labLogged("restarted 02-00-00-00-00-01 as 192.168.1.201"));
    EXPECT_EQ(search(),
              (std::map<std::string, std::string>{{"192.168.1.201", "Factory one"}, {"10.0.0.9", "Renamed"}}));

    broadcast(camsimtest::multiRequest({first}, "password-long-1"));
    EXPECT_TRUE(testlab::labLogged("multi-set for 02-00-00-00-00-01: accepted (ip=192.168.1.50, mask=255.255.0.0, "
                       "gateway=192.168.0.1)"));
    EXPECT_TRUE(testlab::labLogged("restarted 02-00-00-00-00-01 as 192.168.1.50"));
    EXPECT_EQ(search(), (std::map<std::string, std::string>{{"192.168.1.50", "Factory one"}, {"10.0.0.9", "Renamed"}}));
}

}  // namespace

int main(int argc, char** argv) {
    // Never send outside the private network that ostrel-lab made.
    if (!testlab::insideLab()) {
        std::fprintf(stderr, "run this test inside ostrel-lab\n");
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PAIR_PROFILE.json\n", argv[0]);
        return 2;
    }
    pairProfile = argv[1];
    return RUN_ALL_TESTS();
}
