// The paced writer's real QSerialPort on one side of a pseudo-terminal, the virtual unit on the
// other: what arrives on the wire, with the unit's own timing of every byte.
#include "link/FrameCodec.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "platform/QtEventPump.h"
#include "sim/PtyServer.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMs = 1000000;

struct WriterOverPty : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;
    QtEventPump pump;
    std::unique_ptr<Session> session;
    PacedWriter* writer = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        server.line().addUnit(1);
        server.line().addUnit(5);
        ASSERT_TRUE(server.start(dir.filePath("line"))) << server.errorString().toStdString();
        session = std::make_unique<Session>(pump, [this](LinkState& link) {
            auto w = std::make_unique<PacedWriter>(link);
            writer = w.get();
            return w;
        });
        writer->setPortName(server.devicePath());
        ASSERT_TRUE(writer->open());
        session->link.SendEnabled = 1;
    }

    void send(int address, int command, int selector, int channel, std::vector<int> payload)
    {
        CommandRecord& r = session->command;
        r.Address = std::uint8_t(address);
        r.Command = std::uint8_t(command);
        r.Selector = std::uint8_t(selector);
        r.Channel = std::uint8_t(channel);
        r.PayloadLength = std::uint8_t(payload.size());
        for (std::size_t i = 0; i < payload.size(); ++i)
            r.Payload[i + 1] = std::uint8_t(payload[i]);
        session->sendCommand();
    }

    // Pumps events until `n` frames were logged by the unit (or the time is up).
    bool waitFrames(std::size_t n, int ms = 5000)
    {
        for (int waited = 0; waited < ms; waited += 10) {
            if (server.line().frameCount() >= n)
                return true;
            pump.wait(10);
        }
        return server.line().frameCount() >= n;
    }

    void waitIdle(int ms = 5000)
    {
        for (int waited = 0; waited < ms && session->link.PendingFrames.load() != 0; waited += 5)
            pump.wait(5);
    }
};

} // namespace

TEST_F(WriterOverPty, WorkedExamplesArriveByteForByte)
{
    send(1, 230, 100, 0, {0});
    send(5, 231, 1, 3, {123});
    ASSERT_TRUE(waitFrames(2));
    const auto frames = server.line().frames();
    EXPECT_EQ(frames[0].wire, QByteArray::fromHex("41526301e6640001004ca8b9c3"));
    EXPECT_EQ(frames[1].wire, QByteArray::fromHex("41526305e70103017b6ca8b9c3"));
    EXPECT_TRUE(frames[0].valid);
    EXPECT_TRUE(frames[1].valid);
    // Both units answered, and the parser filed the replies.
    for (int i = 0; i < 50 && session->reply.LastReplyAddress != 5; ++i)
        pump.wait(10);
    EXPECT_EQ(session->reply.LastReplyAddress, 5);
    waitIdle();
    EXPECT_EQ(session->link.PendingFrames.load(), 0);
}

// Every byte is followed by at least 3 ms, and the quiet time after the trailer's last pause
// follows frame byte 4. Checked strictly on the writer's own clock (when each write returned);
// the unit sees the bytes through the kernel's pty relay, which hands them over with jitter
// (now and then several at once), so on its side the figures are checked in the bulk: the
// median gap, and quiet times that no relay delay could produce from a writer that skipped them.
TEST_F(WriterOverPty, ByteGapsAndSettlingTimes)
{
    const int channels[] = {3, 11, 25, 26, 27, 200};
    writer->setWriteLogEnabled(true);
    for (int ch : channels)
        send(9, 231, 1, ch, {123}); // address 9: nobody answers, the line stays quiet between frames
    send(9, 231, 1, 0, {123});      // closes the quiet time of the last one
    ASSERT_TRUE(waitFrames(7, 8000));
    waitIdle();

    const std::vector<std::int64_t> writes = writer->takeWriteLog();
    constexpr std::size_t kWire = 13; // 3 + 7 + 3 bytes per frame
    ASSERT_EQ(writes.size(), 7 * kWire);
    for (std::size_t i = 0; i < 6; ++i) {
        for (std::size_t b = 0; b + 1 < kWire; ++b) {
            const std::size_t at = i * kWire + b;
            EXPECT_GE(writes[at + 1] - writes[at], 3 * kMs) << "frame " << i << " byte " << b;
        }
        const std::int64_t settle = FrameCodec::settlingMs(std::uint8_t(channels[i]));
        const std::int64_t quiet = writes[(i + 1) * kWire] - writes[i * kWire + kWire - 1];
        EXPECT_GE(quiet, (3 + settle) * kMs) << "channel " << channels[i];
        EXPECT_LT(quiet, (3 + settle + 25) * kMs) << "channel " << channels[i] << ": no delays of its own";
    }

    const auto frames = server.line().frames();
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 0; i < 6; ++i) {
        const SimFrame& f = frames[i];
        ASSERT_TRUE(f.valid) << i;
        EXPECT_EQ(f.wire.size(), int(kWire)) << i;
        for (std::size_t b = 0; b + 1 < f.gapAfterNs.size(); ++b)
            gaps.push_back(f.gapAfterNs[b]);
        const std::int64_t settle = FrameCodec::settlingMs(std::uint8_t(channels[i]));
        EXPECT_GE(f.quietAfterNs, settle * kMs) << "channel " << channels[i];
    }
    std::sort(gaps.begin(), gaps.end());
    EXPECT_GE(gaps[gaps.size() / 2], 3 * kMs) << "median gap seen by the unit";
}

TEST_F(WriterOverPty, FramesHandedOverOneMillisecondApartArriveWholeAndInOrder)
{
    for (int i = 0; i < 6; ++i) {
        send(9, 231, 1, 200, {i});
        pump.wait(1);
    }
    ASSERT_TRUE(waitFrames(6));
    const auto frames = server.line().frames();
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(frames[std::size_t(i)].valid) << i;
        ASSERT_EQ(frames[std::size_t(i)].payload.size(), 1);
        EXPECT_EQ(frames[std::size_t(i)].payload[0], char(i)) << "order";
    }
    EXPECT_EQ(server.line().strayBytes(), 0u);
    waitIdle();
    EXPECT_EQ(session->link.PendingFrames.load(), 0);
}

TEST_F(WriterOverPty, NothingReachesTheLineWhileSendingIsOff)
{
    session->link.SendEnabled = 0;
    send(1, 230, 100, 0, {0}); // a system command passes SendCommand, the writer drops it
    send(1, 231, 1, 0, {123});
    waitIdle(1000);
    EXPECT_EQ(session->link.PendingFrames.load(), 0);
    pump.wait(100);
    EXPECT_EQ(server.line().frameCount(), 0u);
    EXPECT_EQ(server.line().strayBytes(), 0u);

    // A send refused by SendCommand's guard changes nothing at all.
    session->link.LinkConnected = 0;
    send(1, 21, 1, 1, {0x82, 0x58});
    EXPECT_EQ(session->link.PendingFrames.load(), 0);
}

TEST_F(WriterOverPty, LineHungUpMidFrameThenTheNextFrameArrivesWhole)
{
    // A 36-byte frame takes about 130 ms on the wire; the line goes down in the middle of it.
    send(9, 231, 1, 200, std::vector<int>(30, 0x11));
    pump.wait(40);
    server.hangUp(0);
    waitIdle(2000);
    EXPECT_EQ(session->link.PendingFrames.load(), 0);
    server.line().clearLog();
    pump.wait(100); // the writer has reopened the port on the new line by now
    send(1, 230, 100, 0, {0});
    ASSERT_TRUE(waitFrames(1));
    const auto frames = server.line().frames();
    EXPECT_TRUE(frames[0].valid);
    EXPECT_EQ(frames[0].wire, QByteArray::fromHex("41526301e6640001004ca8b9c3"));
    waitIdle();
    EXPECT_EQ(session->link.PendingFrames.load(), 0);
}
