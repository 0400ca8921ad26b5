// The unit's own image layout: its out-of-the-box image, every matrix edit at its offsets, and
// the output copy.
#include "SimTestSupport.h"
#include "sim/UnitImage.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {
std::vector<int> changedOffsets(const MatrixImage& a, const MatrixImage& b)
{
    std::vector<int> out;
    for (int i = 0; i < kMatrixImageSize; ++i)
        if (a[std::size_t(i)] != b[std::size_t(i)])
            out.push_back(i);
    return out;
}
} // namespace

TEST(UnitImage, PlainDefaultHasTheNewDefaultsInEveryBlock)
{
    const MatrixImage im = UnitImage::plainDefault(DeviceModel::fromCode(11));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(im.data()), 20),
              QByteArray("   Preset   ") + QByteArray::fromHex("80808080800b1010"));
    for (int i = 20; i < 32; ++i)
        EXPECT_EQ(im[std::size_t(i)], 0) << i;
    QByteArray inputs;
    for (int i = 0; i < 16; ++i)
        inputs += QByteArray::fromHex("8258");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(im.data()) + 32, 32), inputs);

    QByteArray block;
    for (int i = 0; i < 16; ++i)
        block += QByteArray::fromHex("0258");
    block += QByteArray::fromHex("010000010189");
    for (int b = 0; b < 5; ++b)
        block += QByteArray::fromHex("00ee02581480");
    block += QByteArray::fromHex("000000008258");
    block += QByteArray::fromHex("003c3c173f0000003c7f003c6402");
    block += QByteArray(8, 0);
    ASSERT_EQ(block.size(), 96);
    for (int o = 1; o <= 16; ++o)
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(im.data()) + UnitImage::outputBlock(o), 96), block)
            << "output " << o;

    const MatrixImage small = UnitImage::plainDefault(DeviceModel::fromCode(6));
    EXPECT_EQ(small[17], 6);
    EXPECT_EQ(small[18], 8);
    EXPECT_EQ(small[19], 4);
}

TEST(UnitImage, EveryMatrixEditLandsAtItsOffsets)
{
    // Output 7's block starts at 64 + 96 * 6 = 640.
    constexpr int B = 640;
    struct Row {
        int command, selector, channel;
        QByteArray payload;
        std::vector<std::pair<int, int>> bytes; // offset, value
    };
    const Row rows[] = {
        {21, 7, 7, bytes({0x82, 0x4E}), {{32 + 12, 0x82}, {33 + 12, 0x4E}}},
        {22, 7, 7, bytes({0x01, 0x90}), {{B + 72, 0x01}, {B + 73, 0x90}}},
        {23, 7, 7, bytes({0x80}), {{B + 71, 0x80}}},
        {24, 7, 7, bytes({0x00, 0x35, 0x52}), {{B + 69, 0x35}, {B + 70, 0x52}}},
        {25, 7, 7, bytes({0x19, 0x00, 0x64}), {{B + 32, 0x19}, {B + 33, 0x00}, {B + 34, 0x64}}},
        {26, 7, 7, bytes({0x05, 0x01, 0x2C}), {{B + 35, 0x05}, {B + 36, 0x01}, {B + 37, 0x2C}}},
        // Band 3, HISHELF, bypassed: sixth byte 0xB1; the image keeps bypass + type = 0x81.
        {27, 7, 7, bytes({0x00, 0x23, 0x02, 0x6C, 0x1E, 0xB1}),
         {{B + 50, 0x00}, {B + 51, 0x23}, {B + 52, 0x02}, {B + 53, 0x6C}, {B + 54, 0x1E}, {B + 55, 0x81}}},
        {28, 7, 7, bytes({0x80}), {{B + 80, 0x80}}}, // limiter switch
        {29, 7, 7, bytes({0x11}), {{B + 81, 0x11}}}, // limiter attack
        {30, 7, 7, bytes({0x05}), {{B + 84, 0x05}}}, // limiter hold
        {31, 7, 7, bytes({0x12}), {{B + 82, 0x12}}}, // limiter release
        {32, 5, 7, bytes({0x81, 0x00}), {{B + 8, 0x81}, {B + 9, 0x00}}}, // input 5 into output 7
        {33, 7, 7, bytes({0x13}), {{B + 83, 0x13}}}, // limiter threshold
        {34, 7, 7, bytes({0x80}), {{B + 74, 0x80}}}, // compressor switch
        {35, 7, 7, bytes({0x14}), {{B + 75, 0x14}}}, // compressor attack
        {36, 7, 7, bytes({0x15}), {{B + 76, 0x15}}}, // compressor release
        {37, 7, 7, bytes({0x16}), {{B + 77, 0x16}}}, // compressor threshold
        {38, 7, 7, bytes({0x17}), {{B + 78, 0x17}}}, // compressor ratio
        {39, 7, 7, bytes({0x03}), {{B + 79, 0x03}}}, // compressor boost
        {40, 7, 7, bytes({0x18}), {{B + 85, 0x18}}}, // noise-gate attack
        {41, 7, 7, bytes({0x19}), {{B + 86, 0x19}}}, // noise-gate release
        {42, 7, 7, bytes({0x1A}), {{B + 87, 0x1A}}}, // noise-gate threshold
    };
    const MatrixImage before = UnitImage::plainDefault(DeviceModel::fromCode(11));
    for (const Row& r : rows) {
        MatrixImage im = before;
        ASSERT_TRUE(UnitImage::applyEdit(im, std::uint8_t(r.command), std::uint8_t(r.selector),
                                         std::uint8_t(r.channel), r.payload))
            << r.command;
        for (auto [off, value] : r.bytes)
            EXPECT_EQ(im[std::size_t(off)], value) << "command " << r.command << " offset " << off;
        for (int off : changedOffsets(before, im)) {
            const bool expected = std::any_of(r.bytes.begin(), r.bytes.end(), [&](auto p) { return p.first == off; });
            EXPECT_TRUE(expected) << "command " << r.command << " also changed offset " << off;
        }
    }
}

TEST(UnitImage, EditsThatDoNotFitChangeNothing)
{
    struct Row {
        const char* what;
        int command, selector, channel;
        QByteArray payload;
    };
    const Row rows[] = {
        {"output 0", 22, 0, 0, bytes({1, 2})},
        {"output 17", 23, 17, 17, bytes({0x80})},
        {"crosspoint into output 0", 32, 3, 0, bytes({1, 2})},
        {"short payload", 24, 1, 1, bytes({0, 1})},
        {"long payload", 21, 1, 1, bytes({1, 2, 3})},
        {"PEQ band 0", 27, 1, 1, bytes({0, 0x23, 2, 0x58, 20, 0x80})},
        {"PEQ band 6", 27, 1, 1, bytes({0, 0x23, 2, 0x58, 20, 0xE0})},
        {"not an edit", 43, 1, 1, bytes({1})},
    };
    const MatrixImage before = UnitImage::plainDefault(DeviceModel::fromCode(11));
    for (const Row& r : rows) {
        MatrixImage im = before;
        EXPECT_FALSE(UnitImage::applyEdit(im, std::uint8_t(r.command), std::uint8_t(r.selector),
                                          std::uint8_t(r.channel), r.payload))
            << r.what;
        EXPECT_EQ(im, before) << r.what;
    }
}

TEST(UnitImage, OutputCopyMirrorsWhatTheDesignerCopies)
{
    MatrixImage im = UnitImage::plainDefault(DeviceModel::fromCode(11));
    const int s = UnitImage::outputBlock(2);
    const int t = UnitImage::outputBlock(5);
    for (int i = 0; i < 88; ++i)
        im[std::size_t(s + i)] = std::uint8_t(i + 1);
    im[std::size_t(s + UnitImage::kOutputGain)] = 0x02; // source unmuted
    im[std::size_t(t + UnitImage::kLimiterHold)] = 0x07;
    const MatrixImage before = im;

    ASSERT_TRUE(UnitImage::copyOutput(im, 2, 5));
    for (int i = 0; i < 96; ++i) {
        if (i == UnitImage::kLimiterHold)
            EXPECT_EQ(im[std::size_t(t + i)], 0x07) << "the target keeps its limiter hold";
        else if (i == UnitImage::kOutputGain)
            EXPECT_EQ(im[std::size_t(t + i)], 0x82) << "copied, then muted";
        else
            EXPECT_EQ(im[std::size_t(t + i)], before[std::size_t(s + i)]) << "block offset " << i;
    }
    for (int o = 1; o <= 16; ++o)
        EXPECT_TRUE(im[std::size_t(UnitImage::outputBlock(o) + UnitImage::kOutputGain)] & 0x80) << o;
    for (int off : changedOffsets(before, im)) {
        const bool inTarget = off >= t && off < t + 96;
        const bool muteBit = (off - 64) % 96 == UnitImage::kOutputGain;
        EXPECT_TRUE(inTarget || muteBit) << off;
    }

    MatrixImage same = before;
    EXPECT_FALSE(UnitImage::copyOutput(same, 3, 3));
    EXPECT_FALSE(UnitImage::copyOutput(same, 0, 3));
    EXPECT_FALSE(UnitImage::copyOutput(same, 3, 17));
    EXPECT_EQ(same, before);
}
