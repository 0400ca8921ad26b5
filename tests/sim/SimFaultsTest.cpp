// Each injected fault, and what the designer's reply parser makes of the result.
#include "SimTestSupport.h"
#include "link/ReplyParser.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

struct FaultFixture : ::testing::Test {
    SimLine line;
    VirtualUnit& unit = line.addUnit(9);
    std::int64_t t = 0;

    std::int64_t send(int command, int selector, int channel, const QByteArray& payload)
    {
        const QByteArray w = wire(9, command, selector, channel, payload);
        t += 200 * kMs;
        line.feed(w, t);
        return t;
    }
    // Replies to `n` chunk reads, parsed as the designer parses them.
    ReplyRecord readChunks(int n)
    {
        ReplyRecord rec;
        ReplyParser parser(rec);
        for (int k = 1; k <= n; ++k) {
            send(204, 0, 0, bytes({k}));
            const QByteArray out = drain(line);
            parser.parse(reinterpret_cast<const std::uint8_t*>(out.constData()), std::size_t(out.size()));
        }
        return rec;
    }
};

} // namespace

TEST_F(FaultFixture, SilentUnitActsButAnswersNothing)
{
    unit.faults().silent = true;
    send(235, 0, 129, QByteArray("pass"));
    EXPECT_TRUE(drain(line).isEmpty());
    EXPECT_EQ(unit.lockState, 129);
    EXPECT_TRUE(line.frames().back().valid);
}

TEST_F(FaultFixture, LostFramesAreNeitherAppliedNorAnswered)
{
    unit.faults().lossProbability = 1.0;
    send(235, 0, 129, QByteArray("pass"));
    EXPECT_TRUE(drain(line).isEmpty());
    EXPECT_EQ(unit.lockState, 0);
    EXPECT_TRUE(line.frames().back().lost);

    unit.faults().lossProbability = 0.5;
    line.setSeed(7);
    int answered = 0;
    for (int i = 0; i < 400; ++i) {
        send(231, 1, 0, bytes({123}));
        answered += drain(line).isEmpty() ? 0 : 1;
    }
    EXPECT_GT(answered, 120);
    EXPECT_LT(answered, 280);
}

TEST_F(FaultFixture, LatencyDelaysTheReply)
{
    unit.faults().replyLatencyMs = 20;
    const std::int64_t end = send(231, 1, 0, bytes({123}));
    EXPECT_EQ(line.nextDueNs(), end + 20 * kMs);
    EXPECT_TRUE(line.takeDue(end + 19 * kMs).empty());
    EXPECT_EQ(line.takeDue(end + 20 * kMs).size(), 1u);
}

TEST_F(FaultFixture, PartialRepliesLeaveChunksIncomplete)
{
    unit.faults().partialReplies = true;
    send(204, 0, 0, bytes({1}));
    EXPECT_EQ(drain(line).size(), 17);
    const ReplyRecord rec = readChunks(3);
    for (int k = 1; k <= 3; ++k)
        EXPECT_LT(rec.KeyedReplies[std::size_t(k)].Count, 16) << k;
}

TEST_F(FaultFixture, OnlyTheIncompleteChunkIsCut)
{
    unit.faults().incompleteChunk = 4;
    const ReplyRecord rec = readChunks(5);
    for (int k : {1, 2, 3, 5})
        EXPECT_EQ(rec.KeyedReplies[std::size_t(k)].Count, 16) << k;
    EXPECT_LT(rec.KeyedReplies[4].Count, 16);
}

TEST_F(FaultFixture, WrongAddressRepliesCarryTheNextAddress)
{
    unit.faults().wrongAddress = true;
    send(231, 1, 0, bytes({123}));
    EXPECT_EQ(parse(drain(line)).address, 10);
    VirtualUnit& last = line.addUnit(255);
    last.faults().wrongAddress = true;
    line.feed(wire(255, 231, 1, 0, bytes({123})), t += 200 * kMs);
    EXPECT_EQ(parse(drain(line)).address, 1);
}

TEST_F(FaultFixture, NoiseGoesBeforeRepliesAndLeavesThemReadable)
{
    unit.faults().noiseBetweenReplies = true;
    unit.faults().noiseMaxBytes = 5;
    int noisy = 0;
    for (int i = 0; i < 20; ++i) {
        send(231, 1, 0, bytes({123}));
        const QByteArray out = drain(line);
        ASSERT_GE(out.size(), 27);
        ASSERT_LE(out.size(), 31);
        const QByteArray noise = out.left(out.size() - 26);
        EXPECT_FALSE(noise.contains(char(0xF5)));
        EXPECT_EQ(parse(out.right(26)).address, 9);
        noisy += int(noise.size());
    }
    EXPECT_GT(noisy, 20);
    const ReplyRecord rec = readChunks(10);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(rec.KeyedReplies[std::size_t(k)].Count, 16) << k;
}

TEST_F(FaultFixture, LineFaultsReachEveryUnitAndLaterOnes)
{
    SimFaults f;
    f.silent = true;
    line.setFaults(f);
    EXPECT_TRUE(unit.faults().silent);
    EXPECT_TRUE(line.addUnit(3).faults().silent);
    line.feed(wire(3, 231, 1, 0, bytes({123})), t += 200 * kMs);
    send(231, 1, 0, bytes({123}));
    EXPECT_TRUE(drain(line).isEmpty());
}
