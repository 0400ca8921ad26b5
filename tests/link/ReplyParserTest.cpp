#include "link/ReplyParser.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes reply(std::uint8_t address, std::uint8_t gate, std::uint8_t tag, std::uint8_t key, std::uint8_t firstData,
            std::uint8_t endByte = 0x00)
{
    Bytes b{0xF5, 0xFA, 0xF7, address, 0x11, 0x22, gate, tag, key};
    for (int j = 0; j < 16; ++j)
        b.push_back(std::uint8_t(firstData + j));
    b.push_back(endByte);
    return b;
}

struct ParserFixture : ::testing::Test {
    ReplyRecord record;
    ReplyParser parser{record};
    void feed(const Bytes& b) { parser.parse(b.data(), b.size()); }
    void feed(const Bytes& b, std::size_t from, std::size_t to)
    {
        parser.parse(b.data() + from, to - from);
    }
};

} // namespace

TEST_F(ParserFixture, FilesHeaderAndDataOfACompleteReply)
{
    Bytes b{0xF5, 0xFA, 0xF7, 0x02, 0x11, 0x22, 0x05, 0x09, 0x0A};
    for (int j = 1; j <= 16; ++j)
        b.push_back(std::uint8_t(0x30 + j));
    record.ReplySeen = ReplyRecord::kReplyPending;
    record.AwaitingReply = 100;
    feed(b);
    EXPECT_EQ(record.ReplyHeader, (std::array<std::uint8_t, 6>{0x02, 0x11, 0x22, 0x05, 0x09, 0x0A}));
    EXPECT_EQ(record.LastReplyAddress, 2);
    EXPECT_EQ(record.ReplyTag, 9);
    EXPECT_EQ(record.ReplyKey, 10);
    EXPECT_EQ(record.KeyedReplies[10].Count, 16);
    for (int j = 1; j <= 16; ++j)
        EXPECT_EQ(record.KeyedReplies[10].Data[j], 0x30 + j) << "data byte " << j;
    EXPECT_EQ(record.ReplySeen, ReplyRecord::kReplyArrived);
    EXPECT_EQ(record.AwaitingReply, 0);
}

TEST_F(ParserFixture, GateOfOneSetsTheHeaderButStoresNoData)
{
    record.KeyedReplies[10].Count = 3;
    record.KeyedReplies[10].Data[1] = 0x77;
    feed(reply(2, 1, 9, 10, 0x40));
    EXPECT_EQ(record.ReplyKey, 10);
    EXPECT_EQ(record.ReplyTag, 9);
    EXPECT_EQ(record.LastReplyAddress, 2);
    EXPECT_EQ(record.KeyedReplies[10].Count, 3);
    EXPECT_EQ(record.KeyedReplies[10].Data[1], 0x77);
}

TEST_F(ParserFixture, MarkerSplitOverTwoChunksIsRecognised)
{
    const Bytes b = reply(7, 2, 1, 1, 0x50);
    feed(b, 0, 1);
    feed(b, 1, b.size());
    EXPECT_EQ(record.LastReplyAddress, 7);
    EXPECT_EQ(record.KeyedReplies[1].Count, 16);
}

TEST_F(ParserFixture, BrokenMarkersAreNotMarkers)
{
    for (const Bytes& prefix : {Bytes{0xF5, 0xFA, 0x00, 0xF7}, Bytes{0xF5, 0xF6, 0xF7}, Bytes{0xFA, 0xF5, 0xF7}}) {
        ReplyRecord r;
        ReplyParser p(r);
        Bytes b = prefix;
        for (std::uint8_t x : {3, 0, 0, 2, 5, 5})
            b.push_back(x);
        for (int j = 0; j < 16; ++j)
            b.push_back(1);
        p.parse(b.data(), b.size());
        EXPECT_EQ(r.LastReplyAddress, 0);
        EXPECT_EQ(r.KeyedReplies[5].Count, 0);
    }
}

TEST_F(ParserFixture, DataSplitEightAndEightCompletesTheKey)
{
    const Bytes b = reply(1, 2, 4, 4, 0x10);
    const std::size_t headerEnd = 9;
    feed(b, 0, headerEnd + 8);
    EXPECT_EQ(record.KeyedReplies[4].Count, 8);
    feed(b, headerEnd + 8, b.size());
    EXPECT_EQ(record.KeyedReplies[4].Count, 16);
    EXPECT_EQ(record.KeyedReplies[4].Data[16], 0x10 + 15);
}

TEST_F(ParserFixture, EndByteIsNotStoredButMayStartTheNextMarker)
{
    Bytes b = reply(3, 2, 6, 6, 0x60, /*endByte=*/0xF5);
    // The end byte 245 plus FA F7 form the next marker.
    Bytes next = reply(4, 2, 8, 8, 0x70);
    b.insert(b.end(), next.begin() + 1, next.end());
    feed(b);
    EXPECT_EQ(record.KeyedReplies[6].Count, 16);
    EXPECT_EQ(record.KeyedReplies[6].Data[16], 0x60 + 15);
    EXPECT_EQ(record.LastReplyAddress, 4);
    EXPECT_EQ(record.KeyedReplies[8].Count, 16);
}

TEST_F(ParserFixture, MarkerInsideTheDataRestartsTheReply)
{
    Bytes b{0xF5, 0xFA, 0xF7, 0x01, 0, 0, 2, 3, 3, 0x01, 0x02, 0xF5, 0xFA, 0xF7, 0x09, 0, 0, 2, 5, 5};
    for (int j = 0; j < 16; ++j)
        b.push_back(0x20);
    feed(b);
    EXPECT_EQ(record.KeyedReplies[3].Count, 4) << "F5 FA are still filed as data before F7 completes the marker";
    EXPECT_EQ(record.LastReplyAddress, 9);
    EXPECT_EQ(record.KeyedReplies[5].Count, 16);
}

TEST_F(ParserFixture, ShorterLaterReplyOverwritesOnlyItsFirstBytes)
{
    feed(reply(1, 2, 2, 2, 0x10));
    Bytes shortReply{0xF5, 0xFA, 0xF7, 0x01, 0, 0, 2, 2, 2, 0xAA, 0xBB};
    feed(shortReply);
    EXPECT_EQ(record.KeyedReplies[2].Count, 2);
    EXPECT_EQ(record.KeyedReplies[2].Data[1], 0xAA);
    EXPECT_EQ(record.KeyedReplies[2].Data[3], 0x12);
}

TEST_F(ParserFixture, ClearKeyedRepliesLeavesKeyZero)
{
    feed(reply(1, 2, 0, 0, 0x10));
    feed(reply(1, 2, 44, 44, 0x10));
    record.ClearKeyedReplies();
    EXPECT_EQ(record.KeyedReplies[0].Count, 16);
    EXPECT_EQ(record.KeyedReplies[44].Count, 0);
    EXPECT_EQ(record.KeyedReplies[44].Data[1], 0);
}

// Replies for keys 1..255 back to back, with noise between them, parsed as one chunk of 20,000
// bytes, in random splits, and one byte at a time: all give the same record.
TEST(ReplyParserStream, LargeChunksRandomSplitsAndSingleBytesAgree)
{
    std::mt19937 rng(7);
    Bytes stream;
    while (stream.size() < 20000) {
        const std::uint8_t key = std::uint8_t(1 + stream.size() / 26 % 255);
        const Bytes r = reply(std::uint8_t(1 + key % 200), 2, key, key, std::uint8_t(key * 3));
        stream.insert(stream.end(), r.begin(), r.end());
        for (int n = int(rng() % 4); n > 0; --n)
            stream.push_back(std::uint8_t(rng() % 240)); // noise, never a marker byte
    }
    stream.resize(20000);

    ReplyRecord whole;
    ReplyParser(whole).parse(stream.data(), stream.size());

    ReplyRecord split;
    ReplyParser splitParser(split);
    for (std::size_t at = 0; at < stream.size();) {
        const std::size_t n = std::min<std::size_t>(1 + rng() % 1200, stream.size() - at);
        splitParser.parse(stream.data() + at, n);
        at += n;
    }

    ReplyRecord single;
    ReplyParser singleParser(single);
    for (std::uint8_t b : stream)
        singleParser.parse(&b, 1);

    int complete = 0;
    for (int k = 1; k <= 255; ++k) {
        EXPECT_EQ(whole.KeyedReplies[k].Count, split.KeyedReplies[k].Count) << k;
        EXPECT_EQ(whole.KeyedReplies[k].Count, single.KeyedReplies[k].Count) << k;
        EXPECT_EQ(whole.KeyedReplies[k].Data, split.KeyedReplies[k].Data) << k;
        EXPECT_EQ(whole.KeyedReplies[k].Data, single.KeyedReplies[k].Data) << k;
        if (whole.KeyedReplies[k].Count == 16) {
            ++complete;
            EXPECT_EQ(whole.KeyedReplies[k].Data[1], std::uint8_t(k * 3)) << k;
        }
    }
    EXPECT_GT(complete, 200);
    EXPECT_EQ(whole.LastReplyAddress, single.LastReplyAddress);
}
