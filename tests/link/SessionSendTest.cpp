// SendCommand's rules, observed at the hand-over to the line. The wire itself is checked end to end
// against the virtual unit in tests/e2e.
#include "link/FrameCodec.h"
#include "link/Session.h"
#include "platform/QtEventPump.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Records frames; finishes none of them (PendingFrames stays as SendCommand left it).
class RecordingLine : public LineTransport {
public:
    std::vector<QByteArray> frames;
    void submit(const QByteArray& frame) override { frames.push_back(frame); }
    void setPortName(const QString&) override {}
    QString portName() const override { return {}; }
    void setBaudRate(qint32) override {}
    bool open() override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
};

struct SendFixture : ::testing::Test {
    QtEventPump pump;
    RecordingLine line;
    Session session{pump, line};

    void setCommand(int address, int command, int selector, int channel, std::initializer_list<int> payload)
    {
        session.command.Address = std::uint8_t(address);
        session.command.Command = std::uint8_t(command);
        session.command.Selector = std::uint8_t(selector);
        session.command.Channel = std::uint8_t(channel);
        session.command.PayloadLength = std::uint8_t(payload.size());
        int i = 1;
        for (int p : payload)
            session.command.Payload[std::size_t(i++)] = std::uint8_t(p);
    }
};

} // namespace

TEST_F(SendFixture, EditIsDroppedWithoutALinkButConnectPasses)
{
    session.link.SendEnabled = 1;
    session.link.LinkConnected = 0;
    setCommand(1, 21, 1, 1, {0x82, 0x58});
    session.sendCommand();
    EXPECT_TRUE(line.frames.empty());
    EXPECT_EQ(session.link.PendingFrames.load(), 0);
    EXPECT_EQ(session.status().activityText, QString());
    EXPECT_EQ(session.link.SettingsModified, 100) << "an edit marks the settings modified even when refused";

    setCommand(1, 230, 100, 0, {0});
    session.sendCommand();
    ASSERT_EQ(line.frames.size(), 1u);
    EXPECT_EQ(line.frames[0], QByteArray::fromHex("01e6640001004c"));
    EXPECT_EQ(session.link.PendingFrames.load(), 1);
}

TEST_F(SendFixture, SettingsModifiedOnlyForCodesTwoTo195)
{
    struct Case { int code; bool marks; };
    for (const Case c : {Case{0, false}, {1, false}, {2, true}, {195, true}, {196, false}, {230, false}, {255, false}}) {
        session.link.SettingsModified = 0;
        setCommand(1, c.code, 0, 0, {});
        session.sendCommand();
        EXPECT_EQ(session.link.SettingsModified, c.marks ? 100 : 0) << "code " << c.code;
    }
}

TEST_F(SendFixture, AcceptedSendResetsReplyBookkeepingAndWritesTheActivityText)
{
    session.link.SendEnabled = 1;
    session.link.LinkConnected = 100;
    session.reply.LastReplyAddress = 9;
    session.reply.ReplySeen = 100;
    session.editorOnScreen = true;
    setCommand(12, 22, 3, 3, {0x02, 0x58});
    session.sendCommand();
    EXPECT_EQ(session.reply.LastReplyAddress, 0);
    EXPECT_EQ(session.reply.ReplySeen, 50);
    EXPECT_EQ(session.reply.AwaitingReply, 100);
    EXPECT_EQ(session.status().activityText, QStringLiteral("  12: Receive..."));

    // System commands never arm the editor's resend.
    session.reply.AwaitingReply = 0;
    setCommand(12, 204, 0, 3, {1});
    session.sendCommand();
    EXPECT_EQ(session.reply.AwaitingReply, 0);
}

TEST_F(SendFixture, SecondSendWaitsTheCourtesyTenMilliseconds)
{
    setCommand(1, 230, 100, 0, {0});
    session.sendCommand();
    QElapsedTimer t;
    t.start();
    session.sendCommand(); // one frame pending
    EXPECT_GE(t.elapsed(), 10);
    EXPECT_EQ(line.frames.size(), 2u);
    EXPECT_EQ(line.frames[0], line.frames[1]);
}

// Timers and change handlers run during the courtesy wait and may rewrite the record; the frame
// must still carry the command that was being sent.
TEST_F(SendFixture, RecordRewrittenDuringTheWaitDoesNotChangeTheFrame)
{
    session.link.SendEnabled = 1;
    session.link.LinkConnected = 100;
    session.link.PendingFrames = 1; // forces the wait
    setCommand(1, 21, 3, 3, {0x02, 0x76});
    const QByteArray expected = FrameCodec::layout(session.command);
    bool rewritten = false;
    QTimer::singleShot(0, [&] {
        setCommand(1, 27, 5, 5, {0, 0x23, 2, 0x58, 20, 0x90});
        rewritten = true;
    });
    session.sendCommand();
    ASSERT_TRUE(rewritten) << "the rewrite must have run inside the wait";
    ASSERT_EQ(line.frames.size(), 1u);
    EXPECT_EQ(line.frames[0], expected);
}
