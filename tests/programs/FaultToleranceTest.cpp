// Injected faults only make an operation retry or fail as its rules say; never a wrong result.
// Virtual clock, the whole connect with the real settings upload.
#include "support/VirtualRig.h"

#include "programs/ProgramMemory.h"
#include "sim/UnitImage.h"

#include <gtest/gtest.h>

namespace {

struct FaultRig : VirtualRig {
    ProgramMemory memory{session};
    VirtualUnit* u;
    MatrixImage running;
    explicit FaultRig(int modelCode = 11) : VirtualRig(modelCode)
    {
        u = &unit(1, modelCode);
        running = UnitImage::plainDefault(u->model());
        for (int i = 64; i < 1600; i += 37)
            running[std::size_t(i)] = std::uint8_t(i);
        u->running() = running;
        link.setSettingsUpload([this] { return memory.readUnitSettings(); });
    }
    bool connect()
    {
        bool ok = false;
        EXPECT_TRUE(session.runProcedure([&] {
            ASSERT_TRUE(link.prepareConnect());
            ok = link.connect();
        }));
        return ok;
    }
    std::size_t reads() const { return frames(204).size(); }
};

TEST(FaultTolerance, NoiseBetweenRepliesChangesNothing)
{
    FaultRig rig;
    rig.u->faults().noiseBetweenReplies = true;
    ASSERT_TRUE(rig.connect());
    EXPECT_EQ(rig.reads(), 100u);
    EXPECT_EQ(rig.session.store.loadImage, rig.running);
}

TEST(FaultTolerance, LostFramesAreRetriedAndTheResultIsStillExact)
{
    FaultRig rig;
    rig.sim.setSeed(7);
    rig.u->faults().lossProbability = 0.2;
    ASSERT_TRUE(rig.connect());
    EXPECT_GT(rig.reads(), 100u); // some requests were sent again
    EXPECT_EQ(rig.session.store.loadImage, rig.running);

    for (std::size_t i = 0; i < rig.session.store.stagingImage.size(); ++i)
        rig.session.store.stagingImage[i] = std::uint8_t(i * 3 + 1);
    rig.sim.clearLog();
    bool stored = false;
    ASSERT_TRUE(rig.session.runProcedure([&] { stored = rig.memory.writeProgram(4); }));
    ASSERT_TRUE(stored);
    EXPECT_GT(rig.frames(205).size(), 100u);
    EXPECT_TRUE(rig.u->program(4).present);
    EXPECT_EQ(rig.u->program(4).image, rig.session.store.stagingImage);
}

TEST(FaultTolerance, PartialRepliesMakeTheConnectFailWithoutApplyingAnything)
{
    FaultRig rig(3);
    rig.u->faults().partialReplies = true; // 8 of 16 data bytes
    rig.session.store.loadImage.fill(0x5A);
    rig.session.store.params.delay[2] = 99;
    EXPECT_FALSE(rig.connect());
    EXPECT_EQ(rig.session.status().panel4, "OFFLINE");
    EXPECT_EQ(rig.session.store.params.delay[2], 99);
    EXPECT_EQ(rig.session.store.loadImage[0], 0x5A);
}

TEST(FaultTolerance, ConnectWithTheUploadOfAnIncompleteLastChunkIsTriedTenTimes)
{
    FaultRig rig;
    rig.u->faults().incompleteChunk = 100;
    EXPECT_FALSE(rig.connect());
    std::size_t lastChunk = 0;
    for (const auto& f : rig.frames(204))
        lastChunk += f.payload == QByteArray(1, char(100));
    EXPECT_EQ(lastChunk, 10u * 15u); // ten attempts, three passes of five requests each
    std::size_t hello = 0, bye = 0;
    for (const auto& f : rig.frames(230)) {
        hello += f.selector == 100;
        bye += f.selector == 80;
    }
    EXPECT_EQ(hello, 10u);
    EXPECT_EQ(bye, 2u);
    EXPECT_EQ(rig.session.link.SendEnabled, 0);
    EXPECT_EQ(rig.session.status().panel4, "OFFLINE");
}

} // namespace
