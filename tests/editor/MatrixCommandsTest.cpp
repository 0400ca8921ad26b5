// The matrix command senders, read back as frames by the virtual unit.
#include "EditorLineFixture.h"

#include <functional>

namespace {

struct SenderCase {
    const char* name;
    int channel; // CommandRecord.Channel before the call
    std::function<void(MatrixCommands&)> send;
    int command;
    int selector;
    int expectedChannel;
    const char* payloadHex;
};

class MatrixCommandsTest : public EditorLineFixture, public ::testing::WithParamInterface<SenderCase> {};

PeqBand band(int frequency, int gain, int q, int type, int number, int flags)
{
    PeqBand b;
    b.frequency = frequency;
    b.gain = gain;
    b.q = std::uint8_t(q);
    b.type = std::uint8_t(type);
    b.band = std::uint8_t(number);
    b.flags = std::uint8_t(flags);
    return b;
}

} // namespace

TEST_P(MatrixCommandsTest, FrameOnTheLine)
{
    const SenderCase& c = GetParam();
    session->command.Channel = std::uint8_t(c.channel);
    MatrixCommands commands(*session);
    c.send(commands);
    const auto frames = drain();
    ASSERT_EQ(frames.size(), 1u);
    const SimFrame& f = frames.front();
    EXPECT_TRUE(f.valid) << f.error.toStdString();
    EXPECT_EQ(f.address, 1);
    EXPECT_EQ(f.command, c.command);
    EXPECT_EQ(f.selector, c.selector);
    EXPECT_EQ(f.channel, c.expectedChannel);
    EXPECT_EQ(f.payload.toHex().toStdString(), std::string(c.payloadHex));
}

INSTANTIATE_TEST_SUITE_P(
    Senders, MatrixCommandsTest,
    ::testing::Values(
        SenderCase{"InputGainMuted", 4, [](MatrixCommands& m) { m.SendInputGain(0x8258); }, 21, 4, 4, "8258"},
        SenderCase{"OutputGainOpen", 9, [](MatrixCommands& m) { m.SendOutputGain(0x0258); }, 22, 9, 9, "0258"},
        SenderCase{"Polarity", 2, [](MatrixCommands& m) { m.SendPolarity(0x80); }, 23, 2, 2, "80"},
        SenderCase{"DelayAtMaximum", 7, [](MatrixCommands& m) { m.SendDelay(13650); }, 24, 7, 7, "003552"},
        SenderCase{"HighPassLinkwitz", 2, [](MatrixCommands& m) { m.SendHighPass(100, 24); }, 25, 2, 2, "190064"},
        SenderCase{"LowPass", 16, [](MatrixCommands& m) { m.SendLowPass(393, 0); }, 26, 16, 16, "010189"},
        SenderCase{"PeqBandLowest", 1, [](MatrixCommands& m) { m.SendPeqBand(band(0, 600, 20, 0, 1, 0)); }, 27, 1, 1,
                   "002302581410"},
        SenderCase{"PeqBandHiShelfBypassed", 5,
                   [](MatrixCommands& m) { m.SendPeqBand(band(203, 635, 20, 1, 3, 0x80)); }, 27, 5, 5, "00ee027b14b1"},
        SenderCase{"LimiterSwitch", 3, [](MatrixCommands& m) { m.SendDynamicsByte(28, 0x80); }, 28, 3, 3, "80"},
        SenderCase{"GateThreshold", 12, [](MatrixCommands& m) { m.SendDynamicsByte(42, 2); }, 42, 12, 12, "02"},
        SenderCase{"CrosspointInputIntoOutput", 3, [](MatrixCommands& m) { m.SendCrosspoint(0x0258, 5); }, 32, 5, 3,
                   "0258"},
        SenderCase{"OutputCopyKeepsChannel", 9, [](MatrixCommands& m) { m.SendOutputCopy(1, 2); }, 237, 1, 9, "0102"}),
    [](const ::testing::TestParamInfo<SenderCase>& p) { return std::string(p.param.name); });

TEST_F(EditorLineFixture, SendersAreDroppedWhileNotConnected)
{
    session->link.LinkConnected = 0;
    MatrixCommands commands(*session);
    session->command.Channel = 1;
    commands.SendInputGain(0x0258);
    commands.SendCrosspoint(0x0258, 2);
    EXPECT_TRUE(drain().empty());
    // The edit still counts as a change to be saved.
    EXPECT_EQ(session->link.SettingsModified, 100);
}
