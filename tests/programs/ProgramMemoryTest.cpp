// The program memory protocol on a virtual clock against virtual units: request counts, passes,
// commits, waits and what ends up in the unit or in the load image.
#include "support/VirtualRig.h"

#include "model/MatrixImageCodec.h"
#include "programs/ProgramMemory.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRead = 204, kWrite = 205, kCommit = 206, kRecall = 202, kDelete = 203;

MatrixImage pattern(std::uint8_t seed)
{
    MatrixImage im{};
    for (std::size_t i = 0; i < im.size(); ++i)
        im[i] = std::uint8_t(seed + i * 7 + (i >> 8));
    return im;
}

struct MemoryRig : VirtualRig {
    ProgramMemory memory{session};
    explicit MemoryRig(int modelCode = 11, bool silentUnit = false) : VirtualRig(modelCode)
    {
        unit(1, modelCode).faults().silent = silentUnit;
        online(1);
    }
    VirtualUnit& u() { return *sim.unit(1); }
    std::vector<SimFrame> reads(int program, int chunk) const
    {
        std::vector<SimFrame> out;
        for (const auto& f : frames(kRead))
            if (f.selector == program && f.payload == QByteArray(1, char(chunk)))
                out.push_back(f);
        return out;
    }
    std::vector<SimFrame> writesOf(int chunk) const
    {
        std::vector<SimFrame> out;
        for (const auto& f : frames(kWrite))
            if (f.channel == chunk)
                out.push_back(f);
        return out;
    }
};

TEST(ProgramMemory, SilentUnitGetsFifteenRequestsForChunkOne)
{
    MemoryRig rig(11, true);
    rig.memory.readProgram(4);
    EXPECT_EQ(rig.reads(4, 1).size(), 15u);
    EXPECT_EQ(rig.frames(kRead).size(), 15u);
    EXPECT_EQ(rig.session.reply.KeyedReplies[100].Count, 0);
    EXPECT_FALSE(rig.memory.readComplete());
}

TEST(ProgramMemory, SilentUnitGetsEighteenWritesOfChunkOneAndNoCommit)
{
    MemoryRig rig(11, true);
    EXPECT_FALSE(rig.memory.writeProgram(2));
    EXPECT_EQ(rig.writesOf(1).size(), 18u);
    EXPECT_EQ(rig.frames(kWrite).size(), 18u);
    EXPECT_TRUE(rig.frames(kCommit).empty());
    EXPECT_EQ(rig.session.status().progress, 0);
}

TEST(ProgramMemory, SilentUnitRecallTakesThreeAttemptsOfTwelveSeconds)
{
    MemoryRig rig(11, true);
    rig.session.store.currentProgram = 6;
    const std::int64_t t0 = rig.pump.nowMs();
    EXPECT_FALSE(rig.memory.recallProgram(3));
    const std::int64_t took = rig.pump.nowMs() - t0;
    EXPECT_GE(took, 200 + 3 * 12000);
    EXPECT_LT(took, 200 + 3 * 12000 + 100);
    EXPECT_EQ(rig.frames(kRecall).size(), 3u);
    EXPECT_EQ(rig.session.store.currentProgram, 6);
    EXPECT_EQ(rig.session.status().progress, 0);
}

TEST(ProgramMemory, AnsweredRecallTakesOneAttemptAndSetsTheCurrentProgram)
{
    MemoryRig rig;
    rig.u().program(5).image = pattern(3);
    rig.u().program(5).present = true;
    const std::int64_t t0 = rig.pump.nowMs();
    EXPECT_TRUE(rig.memory.recallProgram(5));
    EXPECT_GE(rig.pump.nowMs() - t0, 12200);
    EXPECT_LT(rig.pump.nowMs() - t0, 12300);
    const auto recalls = rig.frames(kRecall);
    ASSERT_EQ(recalls.size(), 1u);
    EXPECT_EQ(recalls[0].selector, 5);
    EXPECT_EQ(recalls[0].payload, QByteArray(1, char(5)));
    EXPECT_EQ(rig.session.store.currentProgram, 5);
    EXPECT_EQ(rig.u().currentProgram, 5);
}

TEST(ProgramMemory, ReadsAStoredProgramChunkByChunk)
{
    MemoryRig rig;
    rig.u().program(3).image = pattern(11);
    rig.u().program(3).present = true;
    rig.memory.readProgram(3);
    ASSERT_TRUE(rig.memory.readComplete());
    const auto reads = rig.frames(kRead);
    ASSERT_EQ(reads.size(), 100u);
    for (int k = 1; k <= 100; ++k) {
        EXPECT_EQ(reads[std::size_t(k - 1)].selector, 3);
        EXPECT_EQ(reads[std::size_t(k - 1)].payload, QByteArray(1, char(k)));
    }
    MatrixImage got{};
    rig.memory.copyChunksInto(got);
    EXPECT_EQ(got, pattern(11));
    // Progress follows the chunk number.
    EXPECT_EQ(rig.seen.progress.front(), 1);
    EXPECT_EQ(rig.seen.progress.back(), 100);
}

TEST(ProgramMemory, AnAnswerAfterThreeRequestsResetsTheAttemptCount)
{
    // Chunk 1 is answered at its third request, chunk 2 at its fifth, the rest at once: with the
    // count reset in between, the first pass completes (without it, it would be abandoned at
    // chunk 2's second request).
    MemoryRig rig;
    rig.u().faults().silent = true;
    int seen = 0;
    VirtualUnit* unit = &rig.u();
    rig.sim.setFrameListener([&seen, unit](const SimFrame& f) {
        if (f.command != kRead)
            return;
        ++seen;
        // The listener runs after the unit acted on the frame: it decides about the next one.
        unit->faults().silent = seen < 2 || (seen >= 3 && seen < 7);
    });
    rig.memory.readProgram(0);
    rig.sim.setFrameListener({});
    EXPECT_TRUE(rig.memory.readComplete());
    EXPECT_EQ(rig.reads(0, 1).size(), 3u);
    EXPECT_EQ(rig.reads(0, 2).size(), 5u);
    EXPECT_EQ(rig.reads(0, 3).size(), 1u);
    EXPECT_EQ(rig.frames(kRead).size(), 3u + 5u + 98u);
}

TEST(ProgramMemory, WriteOf100ChunksCommits25PagesAfter300ms)
{
    MemoryRig rig;
    rig.session.store.stagingImage = pattern(5);
    EXPECT_TRUE(rig.memory.writeProgram(9));
    const auto writes = rig.frames(kWrite);
    ASSERT_EQ(writes.size(), 100u);
    for (int k = 1; k <= 100; ++k) {
        const auto& f = writes[std::size_t(k - 1)];
        EXPECT_EQ(f.selector, 9);
        EXPECT_EQ(f.channel, k);
        EXPECT_EQ(f.payload, QByteArray(reinterpret_cast<const char*>(&pattern(5)[std::size_t(16 * (k - 1))]), 16));
    }
    const auto commits = rig.frames(kCommit);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0].selector, 0);
    EXPECT_EQ(commits[0].payload, QByteArray::fromHex("1909"));
    EXPECT_GE(VirtualRig::ms(commits[0].startNs() - writes.back().endNs()), 300.0 + 50.0);
    EXPECT_TRUE(rig.u().program(9).present);
    EXPECT_EQ(rig.u().program(9).image, pattern(5));
    EXPECT_EQ(rig.session.status().progress, 0);
}

TEST(ProgramMemory, WriteOnA4x4UnitCommitsSevenPagesAndSendsOnly448Bytes)
{
    MemoryRig rig(3);
    rig.session.store.stagingImage = pattern(9);
    EXPECT_TRUE(rig.memory.writeProgram(2));
    const auto writes = rig.frames(kWrite);
    ASSERT_EQ(writes.size(), 28u);
    int bytes = 0;
    for (const auto& f : writes)
        bytes += int(f.payload.size());
    EXPECT_EQ(bytes, 448);
    EXPECT_EQ(writes.back().channel, 28);
    const auto commits = rig.frames(kCommit);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0].payload, QByteArray::fromHex("0702"));
    const MatrixImage stored = rig.u().program(2).image;
    EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 448, pattern(9).begin()));
    // Progress floor(3.5 k): 3, 7, 10, ... 98.
    EXPECT_EQ(rig.seen.progress.front(), 3);
    EXPECT_EQ(*std::max_element(rig.seen.progress.begin(), rig.seen.progress.end()), 98);
}

TEST(ProgramMemory, WriteIsNotCommittedWhenTheLastAcknowledgementCameFromAnotherAddress)
{
    MemoryRig rig(3);
    rig.u().faults().wrongAddress = true;
    EXPECT_FALSE(rig.memory.writeProgram(2));
    EXPECT_TRUE(rig.frames(kCommit).empty());
    EXPECT_EQ(rig.frames(kWrite).size(), 4u * 28u); // every pass acknowledged, none committed
    EXPECT_FALSE(rig.u().program(2).present);
}

TEST(ProgramMemory, ProgramNames)
{
    MemoryRig rig;
    MatrixImage im = pattern(1);
    std::memcpy(im.data(), "Preset 7    ", 12);
    im[12] = 128;
    rig.u().program(7).image = im;
    rig.u().program(7).present = true;

    const ProgramNameResult used = rig.memory.readProgramName(7);
    EXPECT_TRUE(used.answered);
    EXPECT_TRUE(used.inUse);
    EXPECT_EQ(used.name, QByteArray("Preset 7    "));
    EXPECT_EQ(rig.reads(7, 1).size(), 1u);

    const ProgramNameResult empty = rig.memory.readProgramName(8);
    EXPECT_TRUE(empty.answered);
    EXPECT_FALSE(empty.inUse);

    rig.u().faults().silent = true;
    rig.sim.clearLog();
    const ProgramNameResult silent = rig.memory.readProgramName(7);
    EXPECT_FALSE(silent.answered);
    EXPECT_FALSE(silent.inUse);
    EXPECT_EQ(silent.name, QByteArray(12, '\0'));
    EXPECT_EQ(rig.reads(7, 1).size(), 3u);
}

TEST(ProgramMemory, DeleteAllSendsFortyInSelectorAndPayload)
{
    MemoryRig rig;
    for (int p = 1; p <= 16; ++p)
        rig.u().program(p).present = true;
    EXPECT_TRUE(rig.memory.deleteWithRetry(ProgramMemory::kAllPrograms));
    const auto deletes = rig.frames(kDelete);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].selector, 40);
    EXPECT_EQ(deletes[0].payload, QByteArray(1, char(40)));
    for (int p = 1; p <= 16; ++p)
        EXPECT_FALSE(rig.u().program(p).present);

    rig.u().faults().silent = true;
    rig.sim.clearLog();
    EXPECT_FALSE(rig.memory.deleteWithRetry(4));
    EXPECT_EQ(rig.frames(kDelete).size(), 2u);
}

TEST(ProgramMemory, UnitSettingsOfA16x16UnitAreReadAsProgramZeroAndApplied)
{
    MemoryRig rig;
    MatrixImage running = rig.u().running();
    // Output 3, input 2 crosspoint and output 3's delay.
    const int block = ImageBlockOffset(3);
    running[std::size_t(block + kBlockCrosspoints + 2)] = 0x01;
    running[std::size_t(block + kBlockCrosspoints + 3)] = 0xF4;
    running[std::size_t(block + kBlockDelay)] = 0x02;
    running[std::size_t(block + kBlockDelay + 1)] = 0x10;
    rig.u().running() = running;

    EXPECT_TRUE(rig.memory.readUnitSettings());
    const auto reads = rig.frames(kRead);
    ASSERT_EQ(reads.size(), 100u);
    for (const auto& f : reads)
        EXPECT_EQ(f.selector, 0);
    EXPECT_EQ(rig.session.store.loadImage, running);
    EXPECT_EQ(rig.session.store.params.crosspoint[3][2], 0x01F4);
    EXPECT_EQ(rig.session.store.params.delay[3], 0x0210);
}

TEST(ProgramMemory, UnitSettingsWithAnIncompleteLastChunkApplyNothing)
{
    MemoryRig rig;
    rig.u().faults().incompleteChunk = 100;
    rig.u().running()[std::size_t(ImageBlockOffset(1) + kBlockDelay + 1)] = 0x33;
    rig.session.store.loadImage.fill(0xAB);
    rig.session.store.params.delay[1] = 7;

    EXPECT_FALSE(rig.memory.readUnitSettings());
    EXPECT_EQ(rig.reads(0, 100).size(), 15u); // three passes of five requests
    EXPECT_EQ(rig.reads(0, 99).size(), 3u);
    EXPECT_EQ(rig.session.store.loadImage[0], 0xAB);
    EXPECT_EQ(rig.session.store.params.delay[1], 7);
}

TEST(ProgramMemory, UnitSettingsOfA4x4UnitReadTwentyEightChunksAndKeepTheRestOfTheBuffer)
{
    MemoryRig rig(3);
    rig.session.store.loadImage.fill(0xAB);
    EXPECT_TRUE(rig.memory.readUnitSettings());
    EXPECT_EQ(rig.frames(kRead).size(), 28u);
    const MatrixImage& load = rig.session.store.loadImage;
    const MatrixImage unit = rig.u().running();
    EXPECT_TRUE(std::equal(load.begin(), load.begin() + 448, unit.begin()));
    EXPECT_TRUE(std::all_of(load.begin() + 448, load.end(), [](std::uint8_t b) { return b == 0xAB; }));
    // Progress floor(3.56 k): the last is 99.
    EXPECT_EQ(rig.seen.progress.back(), 99);
}

TEST(ProgramMemory, OtherModelsTransferNothing)
{
    MemoryRig rig;
    rig.session.store.model.code = 2;
    rig.memory.readProgram(1);
    EXPECT_FALSE(rig.memory.writeProgram(1));
    EXPECT_EQ(rig.sim.frameCount(), 0u);
}

} // namespace
