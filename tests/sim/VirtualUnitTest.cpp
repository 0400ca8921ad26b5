// What a unit answers to each command, and what each command does to its memory, seen through
// the line as the designer would see it.
#include "SimTestSupport.h"
#include "sim/UnitImage.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

struct UnitFixture : ::testing::Test {
    SimLine line;
    VirtualUnit& unit = line.addUnit(7);
    std::int64_t t = 0;

    // Sends one frame to the unit and returns its reply.
    ParsedReply send(int command, int selector, int channel, const QByteArray& payload)
    {
        line.feed(wire(7, command, selector, channel, payload), t += 100 * kMs);
        return parse(drain(line));
    }
    QByteArray readChunk(int program, int chunk)
    {
        const ParsedReply r = send(204, program, 0, bytes({chunk}));
        EXPECT_EQ(r.key, chunk);
        EXPECT_EQ(r.tag, chunk);
        EXPECT_EQ(r.gate, 2);
        return r.data;
    }
    MatrixImage readImage(int program, int chunks = 100)
    {
        MatrixImage im{};
        for (int k = 1; k <= chunks; ++k) {
            const QByteArray d = readChunk(program, k);
            std::copy(d.begin(), d.end(), im.begin() + 16 * (k - 1));
        }
        return im;
    }
    void writeProgram(int program, const MatrixImage& im, int chunks, int pages)
    {
        for (int k = 1; k <= chunks; ++k) {
            const QByteArray d(reinterpret_cast<const char*>(im.data()) + 16 * (k - 1), 16);
            const ParsedReply r = send(205, program, k, d);
            ASSERT_EQ(r.key, k);
            ASSERT_EQ(r.gate, 0);
        }
        send(206, 0, 0, bytes({pages, program}));
    }
    static MatrixImage pattern(std::uint8_t seed)
    {
        MatrixImage im{};
        for (std::size_t i = 0; i < im.size(); ++i)
            im[i] = std::uint8_t(i * 7 + seed);
        im[12] = 128;
        return im;
    }
};

} // namespace

TEST_F(UnitFixture, ReplyLayout)
{
    const QByteArray r = VirtualUnit::encode(VirtualUnit::Reply{2, 9, 10, {1, 2, 3}}, 42);
    EXPECT_EQ(r, QByteArray::fromHex("f5faf7" "2a0000" "02090a" "01020300000000000000000000000000" "00"));
}

TEST_F(UnitFixture, AnswersTable)
{
    unit.info = {0x11, 0x22, 0x33};
    struct Row {
        const char* what;
        int command, selector, channel;
        QByteArray payload;
        int gate, tag, key;
    };
    const Row rows[] = {
        {"connect", 230, 100, 0, bytes({0}), 2, 210, 210},
        {"quick connect", 230, 100, 0, bytes({100}), 2, 210, 210},
        {"disconnect", 230, 80, 0, bytes({0}), 0, 0, 0},
        {"read chunk", 204, 0, 0, bytes({9}), 2, 9, 9},
        {"write chunk", 205, 3, 42, QByteArray(16, 'x'), 0, 42, 42},
        {"commit", 206, 0, 0, bytes({25, 3}), 0, 0, 0},
        {"recall", 202, 3, 0, bytes({3}), 0, 0, 0},
        {"delete", 203, 3, 0, bytes({3}), 0, 0, 0},
        {"delete all", 203, 40, 0, bytes({40}), 0, 0, 0},
        {"search probe", 231, 1, 0, bytes({123}), 0, 0, 0},
        {"banner", 70, 0, 0, QByteArray("0123456789"), 0, 0, 0},
        {"input gain", 21, 1, 1, bytes({0x02, 0x58}), 0, 0, 0},
        {"output copy", 237, 1, 4, bytes({1, 2}), 0, 0, 0},
        {"lock", 235, 0, 130, QByteArray("abcd"), 0, 100, 100},
        {"unlock, wrong password", 236, 0, 130, QByteArray("abce"), 0, 101, 101},
        {"unlock", 236, 0, 130, QByteArray("abcd"), 0, 100, 100},
        {"unknown command", 99, 0, 0, QByteArray(), 0, 0, 0},
    };
    for (const Row& row : rows) {
        const ParsedReply r = send(row.command, row.selector, row.channel, row.payload);
        EXPECT_EQ(r.address, 7) << row.what;
        EXPECT_EQ(r.gate, row.gate) << row.what;
        EXPECT_EQ(r.tag, row.tag) << row.what;
        EXPECT_EQ(r.key, row.key) << row.what;
        if (row.gate == 0) {
            EXPECT_EQ(r.data, QByteArray(16, 0)) << row.what;
        }
    }
}

TEST_F(UnitFixture, StatusCarriesTheLockByteAndInfoBytes)
{
    unit.info = {0x11, 0x22, 0x33};
    unit.lockState = 132;
    const ParsedReply r = send(230, 100, 0, bytes({0}));
    // Data bytes numbered from 1: 3 = lock byte, 5..7 = info bytes.
    EXPECT_EQ(std::uint8_t(r.data[2]), 132);
    EXPECT_EQ(std::uint8_t(r.data[4]), 0x11);
    EXPECT_EQ(std::uint8_t(r.data[5]), 0x22);
    EXPECT_EQ(std::uint8_t(r.data[6]), 0x33);
}

TEST_F(UnitFixture, RunningSettingsReadAsProgramZero)
{
    EXPECT_EQ(readImage(0), UnitImage::plainDefault(DeviceModel::fromCode(11)));
    unit.setModel(DeviceModel::fromCode(3));
    const QByteArray first = readChunk(0, 2);
    EXPECT_EQ(std::uint8_t(first[1]), 3) << "image byte 17 is the model code";
    EXPECT_EQ(std::uint8_t(first[2]), 4);
    EXPECT_EQ(std::uint8_t(first[3]), 4);
}

TEST_F(UnitFixture, EmptySlotReadsAsZerosWithItsMarkerClear)
{
    for (int k : {1, 2, 100})
        EXPECT_EQ(readChunk(5, k), QByteArray(16, 0));
    const ParsedReply beyond = send(204, 5, 0, bytes({101}));
    EXPECT_EQ(beyond.gate, 0) << "no chunk 101";
}

TEST_F(UnitFixture, WrittenProgramReadsBackAndRecallRunsItMuted)
{
    const MatrixImage im = pattern(3);
    writeProgram(4, im, 100, 25);
    ASSERT_TRUE(unit.program(4).present);
    EXPECT_EQ(unit.stagedChunks(4), 0);
    EXPECT_EQ(readImage(4), im);
    EXPECT_EQ(readImage(0), UnitImage::plainDefault(unit.model())) << "storing does not change what runs";

    send(202, 4, 0, bytes({4}));
    MatrixImage expected = im;
    UnitImage::muteAllOutputs(expected);
    EXPECT_EQ(readImage(0), expected);
    EXPECT_EQ(unit.currentProgram, 4);

    send(202, 9, 0, bytes({9})); // empty slot: nothing changes
    EXPECT_EQ(readImage(0), expected);
    EXPECT_EQ(unit.currentProgram, 4);
}

TEST_F(UnitFixture, FourByFourProgramCommitsSevenPages)
{
    unit.setModel(DeviceModel::fromCode(3));
    const MatrixImage im = pattern(9);
    writeProgram(2, im, 28, 7);
    const MatrixImage stored = readImage(2);
    const MatrixImage plain = UnitImage::plainDefault(unit.model());
    EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 448, im.begin()));
    EXPECT_TRUE(std::equal(stored.begin() + 448, stored.end(), plain.begin() + 448))
        << "past the 7 pages the program keeps the plain default";
}

TEST_F(UnitFixture, CommitTakesOnlyTheChunksOfItsPages)
{
    const MatrixImage im = pattern(1);
    writeProgram(6, im, 100, 2); // 2 pages = chunks 1..8
    const MatrixImage stored = readImage(6);
    const MatrixImage plain = UnitImage::plainDefault(unit.model());
    EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 128, im.begin()));
    EXPECT_TRUE(std::equal(stored.begin() + 128, stored.end(), plain.begin() + 128));
    EXPECT_EQ(unit.stagedChunks(6), 0);
}

TEST_F(UnitFixture, MalformedChunkWriteIsNotAcknowledgedWithItsKey)
{
    EXPECT_EQ(send(205, 1, 5, QByteArray(15, 'x')).key, 0);
    EXPECT_EQ(send(205, 1, 0, QByteArray(16, 'x')).key, 0);
    EXPECT_EQ(send(205, 1, 101, QByteArray(16, 'x')).key, 0);
    EXPECT_EQ(unit.stagedChunks(1), 0);
}

TEST_F(UnitFixture, DeleteOneAndAll)
{
    writeProgram(1, pattern(1), 100, 25);
    writeProgram(2, pattern(2), 100, 25);
    writeProgram(3, pattern(3), 100, 25);
    send(203, 2, 0, bytes({2}));
    EXPECT_FALSE(unit.program(2).present);
    EXPECT_EQ(readChunk(2, 1), QByteArray(16, 0));
    EXPECT_TRUE(unit.program(1).present);
    send(203, 40, 0, bytes({40}));
    for (int p = 1; p <= 16; ++p)
        EXPECT_FALSE(unit.program(p).present) << p;
}

TEST_F(UnitFixture, LockAndUnlockWithThePassword)
{
    EXPECT_EQ(send(236, 0, 0, QByteArray("zzzz")).key, 100) << "an unlocked unit takes any password";
    EXPECT_EQ(send(235, 0, 132, QByteArray("  ab")).key, 100);
    EXPECT_EQ(unit.lockState, 132);
    EXPECT_EQ(std::uint8_t(send(230, 100, 0, bytes({100})).data[2]), 132);
    EXPECT_EQ(send(236, 0, 132, QByteArray("ab  ")).key, 101);
    EXPECT_EQ(unit.lockState, 132);
    EXPECT_EQ(send(236, 0, 132, QByteArray("  ab")).key, 100);
    EXPECT_EQ(unit.lockState, 0);
}

TEST_F(UnitFixture, BannerSegmentsMakeTwoLines)
{
    send(70, 0, 0, QByteArray("    PROFES"));
    send(70, 1, 0, QByteArray("SIONAL    "));
    send(70, 2, 0, QByteArray("   DSP AMP"));
    send(70, 3, 0, QByteArray("LIFIER    "));
    send(70, 4, 0, QByteArray("ignored..."));
    EXPECT_EQ(unit.bannerLine(1), QStringLiteral("    PROFESSIONAL    "));
    EXPECT_EQ(unit.bannerLine(2), QStringLiteral("   DSP AMPLIFIER    "));
}

TEST_F(UnitFixture, AnEditIsReturnedByALaterChunkRead)
{
    // Crosspoint of input 5 into output 3, muted at -1.0 dB: image bytes 64 + 96*2 + 8 = 264, 265.
    send(32, 5, 3, bytes({0x82, 0x4E}));
    const QByteArray chunk = readChunk(0, 264 / 16 + 1);
    EXPECT_EQ(std::uint8_t(chunk[264 % 16]), 0x82);
    EXPECT_EQ(std::uint8_t(chunk[265 % 16]), 0x4E);
    // Delay of output 16 at 1365.0 ms: block 16 starts at 1504, delay at 1573..1574.
    send(24, 16, 16, bytes({0x00, 0x35, 0x52}));
    const QByteArray d = readChunk(0, 1573 / 16 + 1);
    EXPECT_EQ(std::uint8_t(d[1573 % 16]), 0x35);
    EXPECT_EQ(std::uint8_t(d[1574 % 16]), 0x52);
}

TEST_F(UnitFixture, CountsWhatItHandled)
{
    send(231, 1, 0, bytes({123}));
    send(231, 1, 0, bytes({123}));
    send(204, 0, 0, bytes({1}));
    EXPECT_EQ(unit.handled(231), 2);
    EXPECT_EQ(unit.handled(204), 1);
    EXPECT_EQ(unit.handled(205), 0);
}
