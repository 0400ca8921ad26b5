#include "model/ParameterCompare.h"

#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "model/MatrixTexts.h"
#include "model/ParameterStore.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<std::uint8_t> bytesOf(const MatrixImage& image, int from, int count)
{
    return {image.begin() + from, image.begin() + from + count};
}

std::vector<std::uint8_t> repeated(std::initializer_list<std::uint8_t> pattern, int times)
{
    std::vector<std::uint8_t> out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), pattern);
    return out;
}

std::vector<std::uint8_t> concat(std::initializer_list<std::vector<std::uint8_t>> parts)
{
    std::vector<std::uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(BuildMatrixImage, NewDefaultsByteForByte)
{
    ParameterStore store;
    SelectDeviceModel(store, 7);
    BuildMatrixImage(store);
    const MatrixImage& image = store.buildImage;

    const std::vector<std::uint8_t> header = concat({
        {' ', ' ', ' ', 'P', 'r', 'e', 's', 'e', 't', ' ', ' ', ' '},
        {0x80, 0x80, 0x80, 0x80, 0x80, 7, 8, 8},
        std::vector<std::uint8_t>(12, 0),
    });
    EXPECT_EQ(bytesOf(image, 0, 32), header);
    EXPECT_EQ(bytesOf(image, 32, 32), repeated({0x82, 0x58}, 16));

    const std::vector<std::uint8_t> block = concat({
        repeated({0x02, 0x58}, 16),
        {0x01, 0x00, 0x00, 0x01, 0x01, 0x89},
        repeated({0x00, 0xEE, 0x02, 0x58, 0x14, 0x80}, 5),
        {0x00, 0x00, 0x00, 0x00, 0x82, 0x58},
        {0x00, 0x3C, 0x3C, 0x17, 0x3F, 0x00, 0x00, 0x00, 0x3C, 0x7F, 0x00, 0x3C, 0x64, 0x02},
        std::vector<std::uint8_t>(8, 0),
    });
    ASSERT_EQ(block.size(), 96u);
    for (int o = 1; o <= 16; ++o)
        EXPECT_EQ(bytesOf(image, ImageBlockOffset(o), 96), block) << "output " << o;
}

TEST(DefaultMatrixImage, FillerContentByteForByte)
{
    const MatrixImage image = DefaultMatrixImage();
    const std::vector<std::uint8_t> header = concat({
        {' ', ' ', ' ', 'P', 'r', 'e', 's', 'e', 't', ' ', ' ', ' '},
        {100, 100, 100, 100, 100, 11, 16, 16},
        std::vector<std::uint8_t>(12, 0),
        repeated({0x81, 0x90}, 16),
    });
    EXPECT_EQ(bytesOf(image, 0, 64), header);
    const std::vector<std::uint8_t> block = concat({
        repeated({0x81, 0x90}, 16),
        {0x00, 0x00, 0x00, 0x01, 0x89, 0x00},
        repeated({0x00, 0xCB, 0x01, 0x90, 0x13, 0x80}, 5),
        {0x00, 0x00, 0x00, 0x00, 0x81, 0x90},
        {0x64, 0x3C, 0x3C, 0x40, 0x00, 0x00, 0x64, 0x00, 0x3C, 0x7F, 0x00, 0x3C, 0x64, 0x02},
        std::vector<std::uint8_t>(8, 0),
    });
    for (int o = 1; o <= 16; ++o)
        EXPECT_EQ(bytesOf(image, ImageBlockOffset(o), 96), block) << "output " << o;

    ParameterStore store;
    store.stagingImage.fill(0x55);
    PrefillImageBuffers(store);
    EXPECT_EQ(store.buildImage, image);
    EXPECT_EQ(store.loadImage, image);
    EXPECT_EQ(store.memoryImage, image);
    EXPECT_EQ(store.stagingImage[0], 0x55) << "the staging image is not one of the three";
}

// Parameters with every field drawn from its whole valid range.
MatrixParameters randomValidParameters(std::mt19937& rng)
{
    auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    auto level = [&] { return LevelWord(pick(200, 660) | (pick(0, 1) ? 0x8000 : 0)); };
    MatrixParameters p;
    for (std::size_t c = 1; c <= 16; ++c) {
        p.inputGain[c] = level();
        p.outputGain[c] = level();
        for (std::size_t i = 1; i <= 16; ++i)
            p.crosspoint[c][i] = level();
        p.delay[c] = std::uint16_t(pick(0, 13650));
        p.polarity[c] = pick(0, 1) ? 0x80 : 0x00;
        for (std::size_t b = 1; b <= 5; ++b) {
            PeqBand& band = p.peq[c][b];
            band.frequency = pick(0, 359);
            band.gain = pick(480, 720);
            band.q = std::uint8_t(pick(0, 104));
            band.type = std::uint8_t(pick(0, 3));
            band.band = std::uint8_t(b);
            band.flags = pick(0, 1) ? 0x80 : 0x00;
        }
        CrossoverSettings& x = p.crossover[c];
        x.lowPassFrequency = pick(65, 394);
        x.highPassFrequency = pick(0, 383);
        x.lowPassType = pick(-1, 28);
        x.highPassType = pick(-1, 28);
        for (int k = 0; k < 14; ++k)
            p.dynamics[c][k] = std::uint8_t(pick(0, 255));
    }
    return p;
}

TEST(MatrixImageRoundTrip, BuildThenApplyRestoresEveryValidValue)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 200; ++round) {
        const MatrixParameters original = randomValidParameters(rng);
        MatrixParameters decoded;
        ApplyMatrixImage(BuildMatrixImage(original, DeviceModel::fromCode(11)), decoded);
        ASSERT_TRUE(SameParameters(original, decoded)) << "round " << round;
    }
}

TEST(MatrixImageRoundTrip, RangeEndsSurvive)
{
    for (bool high : {false, true}) {
        MatrixParameters original;
        ResetMatrixDefaults(original);
        for (std::size_t c = 1; c <= 16; ++c) {
            original.inputGain[c] = high ? 0x8294 : 200;
            original.delay[c] = high ? 13650 : 0;
            for (std::size_t b = 1; b <= 5; ++b) {
                original.peq[c][b].frequency = high ? 359 : 0;
                original.peq[c][b].gain = high ? 720 : 480;
                original.peq[c][b].q = high ? 104 : 0;
                original.peq[c][b].type = high ? 3 : 0;
            }
            original.crossover[c] = high ? CrossoverSettings{394, 383, 28, 28} : CrossoverSettings{65, 0, -1, -1};
            original.dynamics[c].bytes.fill(high ? 255 : 0);
        }
        MatrixParameters decoded;
        ApplyMatrixImage(BuildMatrixImage(original, DeviceModel::fromCode(3)), decoded);
        EXPECT_TRUE(SameParameters(original, decoded)) << (high ? "upper ends" : "lower ends");
    }
}

TEST(MatrixImageCodec, PeqTypeByteKeepsOnlyBypassBitAndThreeTypeBits)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    PeqBand& band = params.peq[2][3];
    band.flags = 0x7F; // only possible in memory: reduced to bit 7 (clear)
    band.type = 2;
    band.band = 0;
    params.peq[2][4].flags = 0xFF;
    params.peq[2][4].type = 1;

    MatrixImage image = BuildMatrixImage(params, DeviceModel::fromCode(11));
    const int p3 = ImageBlockOffset(2) + kBlockFirstBand + 2 * kBlockBandSize;
    const int p4 = p3 + kBlockBandSize;
    EXPECT_EQ(image[std::size_t(p3 + 5)], 0x02);
    EXPECT_EQ(image[std::size_t(p4 + 5)], 0x81);

    image[std::size_t(p3 + 5)] = 0x7A; // bits 3..6 set, bit 7 clear, type bits 010
    image[std::size_t(p4 + 5)] = 0xFF;
    MatrixParameters decoded;
    ApplyMatrixImage(image, decoded);
    EXPECT_EQ(decoded.peq[2][3].type, 2);
    EXPECT_EQ(decoded.peq[2][3].flags, 0x00);
    EXPECT_EQ(decoded.peq[2][3].band, 3) << "the number comes from the position";
    EXPECT_EQ(decoded.peq[2][4].type, 7);
    EXPECT_EQ(decoded.peq[2][4].flags, 0x80);
}

TEST(MatrixImageCodec, ZeroTypeByteDecodesToMinusOneAndShowsFlatThruOnceNormalised)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    MatrixImage image = BuildMatrixImage(params, DeviceModel::fromCode(11));
    image[std::size_t(ImageBlockOffset(5) + kBlockHighPassType)] = 0;
    image[std::size_t(ImageBlockOffset(5) + kBlockLowPassType)] = 29; // type 28
    ApplyMatrixImage(image, params);
    EXPECT_EQ(params.crossover[5].highPassType, -1);
    EXPECT_EQ(FilterTypeText(params.crossover[5].highPassType), QString());
    NormalizeMatrixParameters(params);
    EXPECT_EQ(params.crossover[5].highPassType, 0);
    EXPECT_EQ(FilterTypeText(params.crossover[5].highPassType), QStringLiteral("FLAT THRU"));
    EXPECT_EQ(params.crossover[5].lowPassType, 28);
    EXPECT_EQ(FilterTypeText(params.crossover[5].lowPassType), QString());
}

TEST(MatrixImageCodec, OnlyTheLowSixteenBitsOfAValueReachTheImage)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    params.crossover[1].lowPassFrequency = 0x12345;
    params.peq[1][1].frequency = 0xFFFF - 35 + 2; // + 35 wraps to 1
    const MatrixImage image = BuildMatrixImage(params, DeviceModel::fromCode(11));
    const int block = ImageBlockOffset(1);
    EXPECT_EQ(image[std::size_t(block + kBlockLowPassFreq)], 0x23);
    EXPECT_EQ(image[std::size_t(block + kBlockLowPassFreq + 1)], 0x45);
    EXPECT_EQ(image[std::size_t(block + kBlockFirstBand)], 0x00);
    EXPECT_EQ(image[std::size_t(block + kBlockFirstBand + 1)], 0x01);
}

TEST(MatrixImageCodec, ApplyReadsNeitherHeaderNorZeroBytes)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    params.outputGain[9] = 0x0123;
    const MatrixImage clean = BuildMatrixImage(params, DeviceModel::fromCode(11));
    MatrixImage dirty = clean;
    for (int i = 0; i < 32; ++i)
        dirty[std::size_t(i)] = std::uint8_t(0xA5 ^ i);
    for (int o = 1; o <= 16; ++o) {
        dirty[std::size_t(ImageBlockOffset(o) + 68)] = 0xEE;
        for (int i = 88; i < 96; ++i)
            dirty[std::size_t(ImageBlockOffset(o) + i)] = 0xEE;
    }
    MatrixParameters a, b;
    ApplyMatrixImage(clean, a);
    ApplyMatrixImage(dirty, b);
    EXPECT_TRUE(SameParameters(a, b));
    EXPECT_EQ(b.outputGain[9], 0x0123);
}

TEST(MatrixImageCodec, DynamicsTravelInImageOrder)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    for (int k = 0; k < 14; ++k)
        params.dynamics[3][k] = std::uint8_t(100 + k);
    const MatrixImage image = BuildMatrixImage(params, DeviceModel::fromCode(11));
    const std::vector<std::uint8_t> expected{100, 102, 103, 104, 105, 106, 101, 107, 108, 109, 110, 111, 112, 113};
    EXPECT_EQ(bytesOf(image, ImageBlockOffset(3) + kBlockDynamics, 14), expected);
}

TEST(MatrixImageCodec, StoreOverloadsUseTheBuildAndLoadBuffers)
{
    ParameterStore store;
    SelectDeviceModel(store, 9);
    store.params.delay[4] = 1234;
    BuildMatrixImage(store);
    EXPECT_EQ(store.buildImage[kImageModelOffset], 9);
    EXPECT_EQ(store.buildImage[kImageInputCountOffset], 16);
    EXPECT_EQ(store.buildImage[kImageOutputCountOffset], 4);

    store.loadImage = store.buildImage;
    ResetMatrixDefaults(store.params);
    ApplyMatrixImage(store);
    EXPECT_EQ(store.params.delay[4], 1234);
}

} // namespace
