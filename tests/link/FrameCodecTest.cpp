#include "link/FrameCodec.h"

#include <gtest/gtest.h>

namespace {
QByteArray hex(const char* h) { return QByteArray::fromHex(h); }
}

TEST(FrameCodec, ConnectToAddressOneMatchesTheWorkedExample)
{
    CommandRecord r;
    r.Address = 1;
    r.Command = 230;
    r.Selector = 100;
    r.Channel = 0;
    r.PayloadLength = 1;
    r.Payload[1] = 0;
    EXPECT_EQ(FrameCodec::wire(FrameCodec::layout(r)), hex("415263" "01e6640001004c" "a8b9c3"));
}

TEST(FrameCodec, SearchProbeForAddressFiveMatchesTheWorkedExample)
{
    CommandRecord r;
    r.Address = 5;
    r.Command = 231;
    r.Selector = 1;
    r.Channel = 3;
    r.PayloadLength = 1;
    r.Payload[1] = 123;
    EXPECT_EQ(FrameCodec::wire(FrameCodec::layout(r)), hex("415263" "05e70103017b6c" "a8b9c3"));
}

TEST(FrameCodec, EmptyPayloadGivesSixBytesWithHeaderChecksum)
{
    CommandRecord r;
    r.Address = 200;
    r.Command = 100;
    r.Selector = 7;
    r.Channel = 9;
    r.PayloadLength = 0;
    r.Payload[1] = 0x55; // not part of the frame
    const QByteArray f = FrameCodec::layout(r);
    ASSERT_EQ(f.size(), 6);
    EXPECT_EQ(std::uint8_t(f[5]), std::uint8_t((200 + 100 + 7 + 9 + 0) & 0xFF));
}

TEST(FrameCodec, SettlingTimeFollowsFrameByteFour)
{
    struct Case { int byte4; int ms; };
    for (const Case c : {Case{3, 37}, {11, 38}, {25, 137}, {26, 137}, {27, 67}, {199, 37}, {200, 5}, {255, 5}, {0, 37}})
        EXPECT_EQ(FrameCodec::settlingMs(std::uint8_t(c.byte4)), c.ms) << "byte 4 = " << c.byte4;
}
