#include <gtest/gtest.h>

#include "packet.h"
#include "reply_builder.h"

namespace {

TEST(Probe, IsTheMarkerAndTwentyFourZeroBytes) {
    const auto probe = zelk::buildProbe();
    std::array<uint8_t, 28> expected{0x50, 0x43, 0x44, 0x50};
    EXPECT_EQ(probe, expected);
}

TEST(Header, FieldsAreLittleEndian) {
    zelk::IdcpHeader h;
    h.command = zelk::CMD_MULTI_SET;
    h.sender = {1, 2, 3, 4, 5, 6, 7, 8};
    h.itemCount = -2;
    zelk::PacketWriter w;
    w.header(h);
    const std::vector<uint8_t> expected{0x50, 0x43, 0x44, 0x50, 0x02, 0x00, 0x00, 0x10, 1, 2, 3, 4, 5, 6,
                                        7, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0xfe, 0xff, 0xff, 0xff};
    EXPECT_EQ(w.bytes(), expected);

    const zelk::IdcpHeader back = zelk::decodeHeader(w.bytes().data());
    EXPECT_EQ(back.marker, zelk::IDCP_MARK);
    EXPECT_EQ(back.command, zelk::CMD_MULTI_SET);
    EXPECT_EQ(back.sender, h.sender);
    EXPECT_EQ(back.itemCount, -2);
}

TEST(ItemReader, StopsAtTheDatagramsEnd) {
    auto bytes = ReplyBuilder().text(1, "ab").text(2, "cd").bytes();
    zelk::ItemReader reader(bytes.data(), static_cast<int>(bytes.size()));
    zelk::IdcpItem item;
    ASSERT_TRUE(reader.next(item));
    EXPECT_EQ(item.type, 1);
    EXPECT_EQ(item.length, 3);
    ASSERT_TRUE(reader.next(item));
    EXPECT_FALSE(reader.next(item));
    EXPECT_TRUE(reader.overrun());

    // The last item claims one byte more than the datagram holds.
    zelk::ItemReader cut(bytes.data(), static_cast<int>(bytes.size()) - 1);
    ASSERT_TRUE(cut.next(item));
    EXPECT_FALSE(cut.next(item));
    EXPECT_TRUE(cut.overrun());
}

}  // namespace
