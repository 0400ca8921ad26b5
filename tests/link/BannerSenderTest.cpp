// The banner send on a virtual clock against a virtual unit.
#include "support/VirtualRig.h"

#include "link/BannerSender.h"

#include <gtest/gtest.h>

namespace {

struct PbRecorder : BannerObserver {
    std::vector<int> values;
    void bannerProgressChanged(int pb) override { values.push_back(pb); }
};

TEST(BannerSender, SegmentsArePaddedAndCutAtTwenty)
{
    const QString l1 = BannerSender::defaultLine1(), l2 = BannerSender::defaultLine2();
    EXPECT_EQ(BannerSender::segment(l1, l2, 0), QByteArray("    PROFES"));
    EXPECT_EQ(BannerSender::segment(l1, l2, 1), QByteArray("SIONAL    "));
    EXPECT_EQ(BannerSender::segment(l1, l2, 2), QByteArray("   DSP AMP"));
    EXPECT_EQ(BannerSender::segment(l1, l2, 3), QByteArray("LIFIER    "));
    const QString long23 = "ABCDEFGHIJKLMNOPQRSTUVW";
    EXPECT_EQ(BannerSender::segment(long23, "abc", 1), QByteArray("KLMNOPQRST"));
    EXPECT_EQ(BannerSender::segment(long23, "abc", 2), QByteArray("abc       "));
    EXPECT_EQ(BannerSender::segment(long23, "abc", 3), QByteArray(10, ' '));
}

TEST(BannerSender, SendWithSendingOffRaisesItForTheProcedureOnly)
{
    VirtualRig rig;
    VirtualUnit& u = rig.unit(9);
    PbRecorder pb;
    BannerSender banner(rig.session);
    banner.setObserver(&pb);
    rig.line->open();
    const std::int64_t t0 = rig.pump.nowMs();

    banner.send("HELLO", "ABCDEFGHIJKLMNOPQRSTUVW", 9);
    EXPECT_GE(rig.pump.nowMs() - t0, 2700);
    const auto frames = rig.frames(70);
    ASSERT_EQ(frames.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[std::size_t(i)].address, 9);
        EXPECT_EQ(frames[std::size_t(i)].selector, i);
        EXPECT_EQ(frames[std::size_t(i)].payload.size(), 10);
    }
    EXPECT_EQ(u.bannerLine(1), "HELLO               ");
    EXPECT_EQ(u.bannerLine(2), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(pb.values, (std::vector<int>{0, 10, 25, 50, 75, 100, 0}));
    EXPECT_EQ(rig.session.link.SendEnabled, 0);
    EXPECT_EQ(rig.session.link.LinkConnected, 0);
}

TEST(BannerSender, SendWhileOnlineLeavesTheLinkAsItWas)
{
    VirtualRig rig;
    rig.unit(1);
    rig.online(1);
    BannerSender banner(rig.session);
    banner.send("A", "B", 1);
    EXPECT_EQ(rig.frames(70).size(), 4u);
    EXPECT_EQ(rig.session.link.SendEnabled, 1);
    EXPECT_EQ(rig.session.link.LinkConnected, 100);
}

} // namespace
