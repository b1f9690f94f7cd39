#include <gtest/gtest.h>

#include "adapter_subnet.h"

TEST(AdapterSubnet, FindsTheAdaptersMaskAndTellsWhoIsOutside) {
    zelk::LocalInterface eth;
    eth.name = "eth0";
    eth.ipv4 = zelk::Ipv4Assignment{{192, 168, 1, 10}, {255, 255, 255, 0}};
    zelk::LocalInterface hardware;  // an entry with no IPv4 address
    hardware.name = "eth0";
    const auto subnet = rules::adapterSubnet("192.168.1.10", {hardware, eth});
    ASSERT_TRUE(subnet.has_value());
    EXPECT_FALSE(rules::adapterSubnet("192.168.1.11", {hardware, eth}).has_value());
    EXPECT_FALSE(rules::adapterSubnet("", {eth}).has_value());

    const struct {
        const char* camera;
        bool outside;
    } cases[] = {{"192.168.1.200", false}, {"192.168.2.200", true}, {"10.0.0.5", true}, {"N/A", false}, {"", false}};
    for (const auto& c : cases) EXPECT_EQ(rules::outsideSubnet(c.camera, *subnet), c.outside) << c.camera;
}
