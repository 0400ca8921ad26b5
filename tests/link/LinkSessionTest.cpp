// Connect, quick connect, disconnect, unit status and the status timer, on a virtual clock
// against virtual units. The settings upload is a stand-in here (its own tests are with the
// program memory); what is tested is the link's attempts, flags, frames and texts.
#include "support/VirtualRig.h"

#include "link/FrameCodec.h"

#include <gtest/gtest.h>

namespace {

constexpr int kHandshake = 230;

// The upload as the program memory would leave it: the last chunk complete, or not.
LinkSession::SettingsUpload fakeUpload(VirtualRig& rig, bool completes, int* calls)
{
    return [&rig, completes, calls] {
        ++*calls;
        rig.session.reply.KeyedReplies[100].Count = completes ? 16 : 8;
        return completes;
    };
}

std::vector<SimFrame> withSelector(const std::vector<SimFrame>& frames, int selector)
{
    std::vector<SimFrame> out;
    for (const auto& f : frames)
        if (f.selector == selector)
            out.push_back(f);
    return out;
}

TEST(LinkSession, ConnectToAnAnsweringUnitGoesOnlineAfterOneAttempt)
{
    VirtualRig rig;
    VirtualUnit& u = rig.unit(7);
    u.info = {4, 5, 6};
    int uploads = 0;
    rig.link.setSettingsUpload(fakeUpload(rig, true, &uploads));
    rig.link.setAddressBox(7);
    ASSERT_TRUE(rig.link.prepareConnect());

    EXPECT_TRUE(rig.link.connect());
    EXPECT_EQ(uploads, 1);
    const auto hs = rig.frames(kHandshake);
    ASSERT_EQ(hs.size(), 1u);
    EXPECT_EQ(hs[0].address, 7);
    EXPECT_EQ(hs[0].selector, 100);
    EXPECT_EQ(hs[0].payload, QByteArray(1, '\0'));

    const LinkState& l = rig.session.link;
    EXPECT_EQ(l.LinkConnected, 100);
    EXPECT_EQ(l.SendEnabled, 1);
    EXPECT_EQ(l.OnlineIndicator, 100);
    EXPECT_EQ(l.UnitInfo[0], 4);
    EXPECT_EQ(l.UnitInfo[2], 6);
    EXPECT_EQ(rig.session.status().panel4, "ONLINE");
    EXPECT_EQ(rig.session.status().onlineLed, 100);
    EXPECT_EQ(rig.session.status().progress, 0);
    EXPECT_EQ(rig.seen.dialogCloses, 1);
    EXPECT_EQ(rig.seen.activity.count("   7"), 1);
    // Buttons on (prepare), off for the attempts, on again.
    EXPECT_EQ(rig.seen.connectButtons, (std::vector<bool>{true, false, true}));
    // Progress of the first attempt, then 100, then 0.
    EXPECT_EQ(rig.seen.progress, (std::vector<int>{10, 100, 0}));
}

struct FailingUnit {
    const char* name;
    bool answersHandshake; // with the right address
    SimFaults faults;
};

class ConnectFailure : public ::testing::TestWithParam<FailingUnit> {};

TEST_P(ConnectFailure, TenAttemptsThenOfflineWithTwoDisconnectFrames)
{
    VirtualRig rig;
    VirtualUnit& u = rig.unit(1);
    u.faults() = GetParam().faults;
    u.lockState = 130;
    rig.session.link.LockState = 55;
    int uploads = 0;
    rig.link.setSettingsUpload(fakeUpload(rig, false, &uploads));
    ASSERT_TRUE(rig.link.prepareConnect());

    EXPECT_FALSE(rig.link.connect());
    EXPECT_EQ(uploads, GetParam().answersHandshake ? 10 : 0);

    const auto all = rig.frames(kHandshake);
    const auto hs = withSelector(all, 100);
    const auto bye = withSelector(all, 80);
    ASSERT_EQ(hs.size(), 10u);
    ASSERT_EQ(bye.size(), 2u);
    EXPECT_GT(bye[0].startNs(), hs.back().startNs());
    // 400 ms apart (PumpWait 400 plus a few ms of SendCommand's courtesy wait at most).
    EXPECT_GE(VirtualRig::ms(bye[1].startNs() - bye[0].startNs()), 400.0);
    EXPECT_LT(VirtualRig::ms(bye[1].startNs() - bye[0].startNs()), 420.0);

    if (!GetParam().answersHandshake) {
        // From the third attempt on the port is reopened first: 300 ms more between attempts.
        const double first = VirtualRig::ms(hs[1].startNs() - hs[0].startNs());
        const double later = VirtualRig::ms(hs[2].startNs() - hs[1].startNs());
        EXPECT_NEAR(later - first, 300.0, 2.0);
    }

    const LinkState& l = rig.session.link;
    EXPECT_EQ(l.LinkConnected, 0);
    EXPECT_EQ(l.SendEnabled, 0);
    EXPECT_EQ(l.OnlineIndicator, 0);
    EXPECT_EQ(l.LockState, 0);
    EXPECT_EQ(rig.session.status().panel4, "OFFLINE");
    EXPECT_EQ(rig.session.status().onlineLed, 0);
    EXPECT_EQ(rig.seen.dialogCloses, 0);
    EXPECT_EQ(rig.seen.connectButtons.back(), true);
    // Progress 10, 20, ... 100 for the attempts, then 100 and 0.
    std::vector<int> expected;
    for (int i = 1; i <= 10; ++i)
        expected.push_back(10 * i);
    expected.push_back(100);
    expected.push_back(0);
    EXPECT_EQ(rig.seen.progress, expected);
}

SimFaults silent()
{
    SimFaults f;
    f.silent = true;
    return f;
}
SimFaults wrongAddress()
{
    SimFaults f;
    f.wrongAddress = true;
    return f;
}

INSTANTIATE_TEST_SUITE_P(Units, ConnectFailure,
                         ::testing::Values(FailingUnit{"Silent", false, silent()},
                                           FailingUnit{"WrongAddress", false, wrongAddress()},
                                           FailingUnit{"UploadIncomplete", true, SimFaults{}}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(LinkSession, ConnectWhileConnectedDisconnectsFirst)
{
    VirtualRig rig;
    rig.unit(1);
    int uploads = 0;
    rig.link.setSettingsUpload(fakeUpload(rig, true, &uploads));
    rig.online(1);

    EXPECT_TRUE(rig.link.connect());
    const auto all = rig.frames(kHandshake);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].selector, 80);
    EXPECT_EQ(all[1].selector, 80);
    EXPECT_EQ(all[2].selector, 100);
    EXPECT_EQ(rig.seen.listClears, 1);
}

TEST(LinkSession, StatusReplyWithLockByte129LocksTheMenusAndThePanel)
{
    VirtualRig rig;
    VirtualUnit& u = rig.unit(1);
    u.lockState = 129;
    int uploads = 0;
    rig.link.setSettingsUpload(fakeUpload(rig, true, &uploads));
    ASSERT_TRUE(rig.link.prepareConnect());
    ASSERT_TRUE(rig.link.connect());

    EXPECT_EQ(rig.session.link.LockState, 129);
    EXPECT_FALSE(rig.session.status().lockMenuEnabled);
    EXPECT_TRUE(rig.session.status().unlockMenuEnabled);
    EXPECT_FALSE(rig.session.status().layoutPanelEnabled);
    rig.link.statusTick();
    EXPECT_TRUE(rig.link.lockPictureVisible());
    EXPECT_EQ(rig.seen.lockPicture, (std::vector<bool>{true}));
}

TEST(LinkSession, QuickConnectToTheRightAddressGoesOnline)
{
    VirtualRig rig;
    rig.unit(12).lockState = 0;
    rig.link.setAddressBox(12);
    const std::int64_t t0 = rig.pump.nowMs();
    EXPECT_TRUE(rig.link.quickConnect());
    EXPECT_EQ(rig.pump.nowMs() - t0, 300);
    const auto hs = rig.frames(kHandshake);
    ASSERT_EQ(hs.size(), 1u);
    EXPECT_EQ(hs[0].payload, QByteArray(1, char(100)));
    EXPECT_EQ(rig.session.link.LinkConnected, 100);
    EXPECT_EQ(rig.session.link.SendEnabled, 1);
    EXPECT_EQ(rig.session.link.OnlineIndicator, 100);
    EXPECT_EQ(rig.session.status().panel4, "ONLINE");
    EXPECT_EQ(rig.seen.dialogCloses, 1);
}

TEST(LinkSession, QuickConnectWithoutStatusDataAppliesTheStoredStatus)
{
    VirtualRig rig;
    VirtualUnit& u = rig.unit(1);
    // Only the marker and the header arrive: the address counts, no data byte is stored.
    u.faults().partialReplies = true;
    u.faults().partialReplyBytes = 9;
    rig.session.reply.KeyedReplies[210].Count = 16;
    rig.session.reply.KeyedReplies[210].Data[3] = 136;
    EXPECT_TRUE(rig.link.quickConnect());
    EXPECT_EQ(rig.session.link.LockState, 136);
    EXPECT_TRUE(rig.session.status().unlockMenuEnabled);
    EXPECT_EQ(rig.session.status().panel4, "ONLINE");
}

TEST(LinkSession, QuickConnectWithoutAnswerGoesOfflineWithSendingOff)
{
    struct Case {
        const char* name;
        SimFaults faults;
    };
    for (const Case& c : {Case{"silent", silent()}, Case{"wrong address", wrongAddress()}}) {
        VirtualRig rig;
        rig.unit(1).faults() = c.faults;
        EXPECT_FALSE(rig.link.quickConnect()) << c.name;
        EXPECT_EQ(rig.session.link.LinkConnected, 0) << c.name;
        EXPECT_EQ(rig.session.link.SendEnabled, 0) << c.name;
        EXPECT_EQ(rig.session.status().panel4, "OFFLINE") << c.name;
        EXPECT_EQ(rig.seen.dialogCloses, 0) << c.name;
    }
}

TEST(LinkSession, DisconnectWhileConnectedSendsTheFrameTwice300msApart)
{
    VirtualRig rig;
    rig.unit(1);
    rig.online(1);
    rig.session.command.Channel = 0;
    rig.session.link.LockState = 132;
    rig.session.setLockMenus(false, true);

    const std::int64_t t0 = rig.pump.nowMs();
    rig.link.disconnect();
    const auto bye = rig.frames(kHandshake);
    ASSERT_EQ(bye.size(), 2u);
    const QByteArray expected = QByteArray::fromHex("415263" "01E6500001" "00" "38" "A8B9C3");
    EXPECT_EQ(bye[0].wire.toHex(), expected.toHex());
    EXPECT_EQ(bye[1].wire.toHex(), expected.toHex());
    EXPECT_NEAR(VirtualRig::ms(bye[1].startNs() - bye[0].startNs()), 300.0, 12.0);
    // 300 ms between the sends and the one-second progress animation.
    EXPECT_GE(rig.pump.nowMs() - t0, 1300);

    std::vector<int> expectedProgress;
    for (int p = 10; p <= 100; p += 10)
        expectedProgress.push_back(p);
    expectedProgress.push_back(0);
    EXPECT_EQ(rig.seen.progress, expectedProgress);
    EXPECT_EQ(rig.session.link.LinkConnected, 0);
    EXPECT_EQ(rig.session.link.SendEnabled, 0);
    EXPECT_EQ(rig.session.link.LockState, 0);
    EXPECT_TRUE(rig.session.status().lockMenuEnabled);
    EXPECT_FALSE(rig.session.status().unlockMenuEnabled);
    EXPECT_EQ(rig.session.status().panel4, "OFFLINE");
    EXPECT_EQ(rig.session.status().activityText, "   1: Disconnect");
    EXPECT_EQ(rig.seen.listClears, 1);
}

TEST(LinkSession, DisconnectAfterPrepareWithoutConnectStillPutsBothFramesOnTheLine)
{
    // SendEnabled 1 but never connected: no progress animation, and sending is switched off
    // right after; the second frame must not be dropped at its turn.
    VirtualRig rig;
    rig.unit(1);
    ASSERT_TRUE(rig.link.prepareConnect());
    rig.link.disconnect();
    EXPECT_EQ(withSelector(rig.frames(kHandshake), 80).size(), 2u);
    EXPECT_EQ(rig.session.link.SendEnabled, 0);
    EXPECT_TRUE(rig.seen.progress.empty() || rig.seen.progress.back() == 0);
}

TEST(LinkSession, DisconnectWithSendingOffOnlyResetsTheDisplay)
{
    VirtualRig rig;
    rig.unit(1);
    rig.session.link.LinkConnected = 100;
    rig.session.link.OnlineIndicator = 100;
    rig.session.setOnlineDisplay(100, "ONLINE");
    const std::int64_t t0 = rig.pump.nowMs();
    rig.link.disconnect();
    EXPECT_EQ(rig.pump.nowMs(), t0);
    EXPECT_EQ(rig.sim.frameCount(), 0u);
    EXPECT_EQ(rig.session.status().panel4, "OFFLINE");
    EXPECT_EQ(rig.session.status().onlineLed, 0);
    EXPECT_EQ(rig.seen.listClears, 1);
}

TEST(LinkSession, PrepareConnectFailsWhenThePortDoesNotOpen)
{
    VirtualRig rig;
    rig.line->setPortAvailable(false);
    EXPECT_FALSE(rig.link.prepareConnect());
    EXPECT_EQ(rig.session.link.SendEnabled, 0);
    EXPECT_TRUE(rig.seen.connectButtons.empty());
    rig.line->setPortAvailable(true);
    EXPECT_TRUE(rig.link.prepareConnect());
    EXPECT_EQ(rig.session.link.SendEnabled, 1);
    EXPECT_EQ(rig.session.reply.LastReplyAddress, 0);
}

TEST(LinkSession, StatusTickTexts)
{
    VirtualRig rig;
    Session& s = rig.session;
    s.command.Address = 9;
    s.reply.LastReplyAddress = 0;
    s.setActivityText("before");
    rig.link.statusTick();
    EXPECT_EQ(s.status().activityText, "before"); // no reply yet: untouched

    s.reply.LastReplyAddress = 9;
    s.link.PendingFrames = -1; // below 0 after a connect zeroed it: still "finished"
    rig.link.statusTick();
    EXPECT_EQ(s.status().activityText, "  9:Finish...");

    s.link.PendingFrames = 3;
    s.command.Selector = 150;
    rig.link.statusTick();
    EXPECT_EQ(s.status().activityText, "  9:Please Wait...");

    s.setActivityText("kept");
    s.command.Selector = 200;
    rig.link.statusTick();
    EXPECT_EQ(s.status().activityText, "kept");
}

TEST(LinkSession, StatusTickFollowsTheLockByte)
{
    VirtualRig rig;
    rig.session.link.LockState = 128;
    rig.link.statusTick();
    EXPECT_FALSE(rig.link.lockPictureVisible());
    EXPECT_TRUE(rig.session.status().layoutPanelEnabled);
    rig.session.link.LockState = 129;
    rig.link.statusTick();
    EXPECT_TRUE(rig.link.lockPictureVisible());
    EXPECT_FALSE(rig.session.status().layoutPanelEnabled);
    rig.session.link.LockState = 0;
    rig.link.statusTick();
    EXPECT_FALSE(rig.link.lockPictureVisible());
    EXPECT_TRUE(rig.session.status().layoutPanelEnabled);
}

} // namespace
