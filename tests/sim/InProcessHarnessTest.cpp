// The virtual-clock harness: a designer Session on an InProcessLine and a VirtualClockPump,
// with the virtual unit answering in virtual time.
#include "SimTestSupport.h"
#include "link/Session.h"
#include "sim/InProcessLine.h"
#include "sim/VirtualClockPump.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace simtest;

namespace {

struct Harness : ::testing::Test {
    VirtualClockPump pump;
    SimLine sim;
    InProcessLine* line = nullptr;
    Session session{pump, [this](LinkState& l) {
                        auto p = std::make_unique<InProcessLine>(l, sim, pump);
                        line = p.get();
                        return std::unique_ptr<LineTransport>(std::move(p));
                    }};
    VirtualUnit& unit = sim.addUnit(1);

    void SetUp() override
    {
        session.link.SendEnabled = 1;
        session.link.LinkConnected = 100;
        ASSERT_TRUE(line->open());
    }
    void set(int command, int selector, int channel, std::initializer_list<int> payload)
    {
        CommandRecord& r = session.command;
        r.Address = 1;
        r.Command = std::uint8_t(command);
        r.Selector = std::uint8_t(selector);
        r.Channel = std::uint8_t(channel);
        r.PayloadLength = std::uint8_t(payload.size());
        int i = 1;
        for (int v : payload)
            r.Payload[std::size_t(i++)] = std::uint8_t(v);
    }
};

} // namespace

TEST_F(Harness, ChunkReadArrivesInKeyedReplies)
{
    unit.running()[16 * 4 + 3] = 0x5A; // chunk 5, data byte 4
    set(204, 0, 0, {5});
    session.sendCommand();
    EXPECT_EQ(session.link.PendingFrames.load(), 1);
    for (int i = 0; i < 200 && session.reply.KeyedReplies[5].Count < 16; ++i)
        pump.wait(1);
    EXPECT_EQ(session.reply.KeyedReplies[5].Count, 16);
    EXPECT_EQ(session.reply.KeyedReplies[5].Data[4], 0x5A);
    EXPECT_EQ(session.reply.ReplyTag, 5);
    EXPECT_EQ(session.reply.LastReplyAddress, 1);
    // 13 wire bytes at 3 ms, answered right after the trailer.
    EXPECT_EQ(pump.nowMs(), 36);

    pump.wait(100);
    EXPECT_EQ(session.link.PendingFrames.load(), 0);
}

TEST_F(Harness, FramesArePacedAndSettledInVirtualTime)
{
    struct Case {
        int channel;
        int quietMs; // 3 ms after the last byte, then the settling time
    };
    const Case cases[] = {{3, 40}, {11, 41}, {25, 140}, {27, 70}, {200, 8}};
    for (const Case& c : cases) {
        set(231, 1, c.channel, {123});
        session.sendCommand();
    }
    set(231, 1, 0, {123});
    session.sendCommand();
    pump.wait(1000);
    const auto frames = sim.frames();
    ASSERT_EQ(frames.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(frames[i].valid);
        EXPECT_EQ(frames[i].channel, cases[i].channel);
        EXPECT_EQ(frames[i].minGapNs(), 3 * kMs);
        EXPECT_EQ(frames[i].quietAfterNs, cases[i].quietMs * kMs) << "channel " << cases[i].channel;
    }
    EXPECT_EQ(session.link.PendingFrames.load(), 0);
}

TEST_F(Harness, FramesHandedOverWhileSendingIsOffAreDroppedAtTheirTurn)
{
    set(231, 1, 0, {123});
    session.sendCommand(); // goes out at once
    session.sendCommand(); // waits its turn behind the first
    session.link.SendEnabled = 0;
    pump.wait(500);
    EXPECT_EQ(sim.frameCount(), 1u);
    EXPECT_EQ(session.link.PendingFrames.load(), 0);
}

TEST_F(Harness, CloseFinishesTheFrameRepliesAreLostWhileClosedAndASendReopens)
{
    unit.faults().replyLatencyMs = 50;
    set(231, 1, 0, {123});
    session.sendCommand();
    pump.wait(20); // in the middle of the frame
    line->close();
    EXPECT_TRUE(line->isOpen()) << "the frame being written is finished first";
    pump.wait(20);
    EXPECT_FALSE(line->isOpen());
    ASSERT_EQ(sim.validFrameCount(), 1u) << "the frame reached the unit complete";
    pump.wait(200);
    EXPECT_EQ(session.reply.LastReplyAddress, 0) << "the reply came while the port was closed";
    session.sendCommand();
    EXPECT_TRUE(line->isOpen());
    pump.wait(200);
    EXPECT_EQ(session.reply.LastReplyAddress, 1);
}

TEST_F(Harness, LongVirtualWaitsTakeLittleRealTime)
{
    unit.faults().replyLatencyMs = 11000;
    set(202, 1, 0, {1});
    session.sendCommand();
    QElapsedTimer real;
    real.start();
    pump.wait(12000);
    EXPECT_LT(real.elapsed(), 1000);
    EXPECT_EQ(pump.nowMs(), 12000 + 0);
    EXPECT_EQ(session.reply.LastReplyAddress, 1) << "the late reply came inside the 12 s";
}

TEST_F(Harness, WaitThrowsOnceAnAbortIsRequested)
{
    const bool completed = session.runProcedure([&] {
        pump.wait(5);
        pump.requestAbort();
        pump.wait(5);
        ADD_FAILURE() << "not reached";
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(pump.nowMs(), 5);
}
