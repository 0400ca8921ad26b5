// Lock and unlock exchanges on a virtual clock against a virtual unit.
#include "support/VirtualRig.h"

#include "link/LockProcedures.h"

#include <gtest/gtest.h>

namespace {

using Level = LockProcedures::Level;

TEST(LockProcedures, ChangePlusMuteSendsChannel132AndLocks)
{
    VirtualRig rig;
    VirtualUnit& u = rig.unit(3);
    rig.online(3);
    LockProcedures lock(rig.session);

    EXPECT_TRUE(lock.lock(Level::ChangeMute, "ab", 3));
    const auto frames = rig.frames(235);
    ASSERT_EQ(frames.size(), 2u); // the first send and the repetition whose reply ends the retries
    for (const auto& f : frames) {
        EXPECT_EQ(f.channel, 132);
        EXPECT_EQ(f.selector, 0);
        EXPECT_EQ(f.payload, QByteArray("ab  "));
    }
    EXPECT_EQ(rig.session.link.LockState, 132);
    EXPECT_EQ(u.lockState, 132);
    EXPECT_FALSE(rig.session.status().lockMenuEnabled);
    EXPECT_TRUE(rig.session.status().unlockMenuEnabled);
}

TEST(LockProcedures, LevelsTravelAs128PlusLevel)
{
    const std::pair<Level, int> cases[] = {
        {Level::Change, 129}, {Level::ChangeView, 130}, {Level::ChangeMute, 132}, {Level::Everything, 136}};
    for (auto [level, channel] : cases) {
        VirtualRig rig;
        rig.unit(1);
        rig.online(1);
        LockProcedures lock(rig.session);
        ASSERT_TRUE(lock.lock(level, "pw", 1));
        EXPECT_EQ(rig.frames(235).front().channel, channel);
        EXPECT_EQ(rig.session.link.LockState, channel);
    }
}

TEST(LockProcedures, EmptyPasswordSendsFourSpaces)
{
    VirtualRig rig;
    rig.unit(1);
    rig.online(1);
    LockProcedures lock(rig.session);
    ASSERT_TRUE(lock.lock(Level::Change, QString(), 1));
    EXPECT_EQ(rig.frames(235).front().payload, QByteArray("    "));
}

TEST(LockProcedures, SilentUnitGetsTheLockFrameElevenTimesOverAboutThreeSeconds)
{
    VirtualRig rig;
    rig.unit(1).faults().silent = true;
    rig.online(1);
    rig.session.link.LockState = 0;
    LockProcedures lock(rig.session);
    const std::int64_t t0 = rig.pump.nowMs();

    EXPECT_FALSE(lock.lock(Level::ChangeMute, "abcd", 1));
    EXPECT_EQ(rig.frames(235).size(), 11u);
    const std::int64_t took = rig.pump.nowMs() - t0;
    EXPECT_GE(took, 3150);
    EXPECT_LT(took, 3300);
    EXPECT_EQ(rig.session.link.LockState, 0);
    EXPECT_TRUE(rig.session.status().lockMenuEnabled);
}

TEST(LockProcedures, WithoutConnectionTheFrameGoesOnceAndNothingIsReported)
{
    VirtualRig rig;
    rig.unit(1);
    rig.online(1);
    rig.session.link.LinkConnected = 0;
    LockProcedures lock(rig.session);
    EXPECT_FALSE(lock.lock(Level::Change, "abcd", 1));
    rig.pump.wait(200); // let the frame reach the line
    EXPECT_EQ(rig.frames(235).size(), 1u);
    EXPECT_EQ(rig.session.link.LockState, 0);
}

TEST(LockProcedures, UnlockWithTheWrongPasswordEndsAtTheRefusalAndTheRightOneUnlocks)
{
    VirtualRig rig;
    VirtualUnit& u = rig.unit(1);
    rig.online(1);
    LockProcedures lock(rig.session);
    ASSERT_TRUE(lock.lock(Level::ChangeMute, "1234", 1));
    rig.sim.clearLog();

    EXPECT_FALSE(lock.unlock("9999", 1));
    EXPECT_EQ(rig.frames(236).size(), 2u); // the refusal (key 101) ends the retries
    EXPECT_EQ(rig.session.link.LockState, 132);
    EXPECT_EQ(u.lockState, 132);

    rig.sim.clearLog();
    EXPECT_TRUE(lock.unlock("1234", 1));
    const auto frames = rig.frames(236);
    ASSERT_FALSE(frames.empty());
    // Channel is whatever the lock left in the command record.
    EXPECT_EQ(frames.front().channel, 132);
    EXPECT_EQ(frames.front().payload, QByteArray("1234"));
    EXPECT_EQ(rig.session.link.LockState, 0);
    EXPECT_EQ(u.lockState, 0);
    EXPECT_TRUE(rig.session.status().lockMenuEnabled);
    EXPECT_FALSE(rig.session.status().unlockMenuEnabled);
}

TEST(LockProcedures, PasswordTextRules)
{
    const QString euro = QString(QChar(0x20AC));
    EXPECT_EQ(LockProcedures::filterPasswordText(euro), euro); // one character: kept
    EXPECT_EQ(LockProcedures::filterPasswordText("a" + euro + "b"), "ab");
    EXPECT_EQ(LockProcedures::filterPasswordText(QString::fromLatin1("\xE9x")), "x");
    EXPECT_EQ(LockProcedures::filterPasswordText("abcd"), "abcd");

    using Bytes = std::array<std::uint8_t, 4>;
    EXPECT_EQ(LockProcedures::passwordBytes(""), (Bytes{' ', ' ', ' ', ' '}));
    EXPECT_EQ(LockProcedures::passwordBytes("ab"), (Bytes{'a', 'b', ' ', ' '}));
    EXPECT_EQ(LockProcedures::passwordBytes("abcdef"), (Bytes{'a', 'b', 'c', 'd'}));
}

} // namespace
