#include "model/MatrixOperations.h"
#include "model/ParameterStore.h"

#include <gtest/gtest.h>

namespace {

TEST(ResetMatrixDefaults, WritesTheNewDefaultsAndKeepsTheEditorMemory)
{
    MatrixParameters params;
    params.rememberedPage = 5;
    params.rememberedTab = 7;
    params.inputGain[16] = 1;
    params.crossover[16].lowPassType = 9;
    params.peq[16][5].band = 1;
    params.dynamics[16][DynamicsBlock::GateRelease] = 3;
    ResetMatrixDefaults(params);

    for (std::size_t c = 1; c <= 16; ++c) {
        EXPECT_EQ(params.inputGain[c], 0x8258);
        EXPECT_EQ(params.outputGain[c], 0x8258);
        for (std::size_t i = 1; i <= 16; ++i)
            EXPECT_EQ(params.crosspoint[c][i], 0x0258);
        EXPECT_EQ(params.delay[c], 0);
        EXPECT_EQ(params.polarity[c], 0);
        for (std::size_t b = 1; b <= 5; ++b) {
            const PeqBand& band = params.peq[c][b];
            EXPECT_EQ(band.frequency, 203);
            EXPECT_EQ(band.gain, 600);
            EXPECT_EQ(band.q, 20);
            EXPECT_EQ(band.type, 0);
            EXPECT_EQ(band.band, b);
            EXPECT_EQ(band.flags, 0x80);
        }
        EXPECT_EQ(params.crossover[c].lowPassFrequency, 393);
        EXPECT_EQ(params.crossover[c].highPassFrequency, 0);
        EXPECT_EQ(params.crossover[c].lowPassType, 0);
        EXPECT_EQ(params.crossover[c].highPassType, 0);
        const std::array<std::uint8_t, 14> dynamics{0, 0, 60, 60, 23, 63, 0, 0, 60, 127, 0, 60, 100, 2};
        EXPECT_EQ(params.dynamics[c].bytes, dynamics);
    }
    EXPECT_EQ(params.rememberedPage, 5);
    EXPECT_EQ(params.rememberedTab, 7);
}

struct ClampCase {
    int value;
    int expected;
};

class CrossoverClamp : public ::testing::TestWithParam<std::tuple<int, ClampCase>> {};

// Field 0 low-pass frequency 65..394, 1 high-pass frequency 0..383, 2 and 3 the types 0..28.
TEST_P(CrossoverClamp, IntoRange)
{
    const auto [field, c] = GetParam();
    CrossoverSettings x{200, 100, 5, 5};
    int* target[] = {&x.lowPassFrequency, &x.highPassFrequency, &x.lowPassType, &x.highPassType};
    *target[field] = c.value;
    NormalizeCrossover(x);
    EXPECT_EQ(*target[field], c.expected);
}

INSTANTIATE_TEST_SUITE_P(LowPassFrequency, CrossoverClamp,
                         ::testing::Combine(::testing::Values(0),
                                            ::testing::Values(ClampCase{64, 65}, ClampCase{-7, 65}, ClampCase{65, 65},
                                                              ClampCase{394, 394}, ClampCase{395, 394},
                                                              ClampCase{65535, 394})));
INSTANTIATE_TEST_SUITE_P(HighPassFrequency, CrossoverClamp,
                         ::testing::Combine(::testing::Values(1),
                                            ::testing::Values(ClampCase{-1, 0}, ClampCase{0, 0}, ClampCase{383, 383},
                                                              ClampCase{384, 383}, ClampCase{394, 383})));
INSTANTIATE_TEST_SUITE_P(Types, CrossoverClamp,
                         ::testing::Combine(::testing::Values(2, 3),
                                            ::testing::Values(ClampCase{-1, 0}, ClampCase{27, 27}, ClampCase{28, 28},
                                                              ClampCase{29, 28}, ClampCase{254, 28})));

TEST(NormalizePeqBand, ClampsEveryFieldButTheFlags)
{
    PeqBand low{-35, 0, 0, 0, 0, 0x13};
    NormalizePeqBand(low);
    EXPECT_EQ(low.frequency, 0);
    EXPECT_EQ(low.gain, 480);
    EXPECT_EQ(low.q, 0);
    EXPECT_EQ(low.type, 0);
    EXPECT_EQ(low.band, 0);
    EXPECT_EQ(low.flags, 0x13);

    PeqBand high{65500, 65535, 255, 7, 9, 0xFF};
    NormalizePeqBand(high);
    EXPECT_EQ(high.frequency, 359);
    EXPECT_EQ(high.gain, 720);
    EXPECT_EQ(high.q, 104);
    EXPECT_EQ(high.type, 3);
    EXPECT_EQ(high.band, 5);
    EXPECT_EQ(high.flags, 0xFF);

    PeqBand inside{359, 480, 104, 3, 5, 0x80};
    NormalizePeqBand(inside);
    EXPECT_EQ(inside.frequency, 359);
    EXPECT_EQ(inside.gain, 480);
    EXPECT_EQ(inside.q, 104);
    EXPECT_EQ(inside.type, 3);
    EXPECT_EQ(inside.band, 5);
}

TEST(NormalizeMatrixParameters, CoversAllSixteenOutputsAndEveryBand)
{
    MatrixParameters params;
    for (std::size_t o = 1; o <= 16; ++o) {
        params.crossover[o].lowPassFrequency = 9999;
        for (std::size_t b = 1; b <= 5; ++b)
            params.peq[o][b].gain = 9999;
    }
    NormalizeMatrixParameters(params);
    for (std::size_t o = 1; o <= 16; ++o) {
        EXPECT_EQ(params.crossover[o].lowPassFrequency, 394) << o;
        for (std::size_t b = 1; b <= 5; ++b)
            EXPECT_EQ(params.peq[o][b].gain, 720) << o << "/" << b;
    }
}

TEST(MarkAllOutputsMuted, SetsOnlyTheMuteBitOfEveryOutputGain)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    for (std::size_t o = 1; o <= 16; ++o)
        params.outputGain[o] = LevelWord(200 + o);
    params.outputGain[3] = 0x8258;
    MarkAllOutputsMuted(params);
    for (std::size_t o = 1; o <= 16; ++o)
        EXPECT_EQ(params.outputGain[o], o == 3 ? 0x8258 : 0x8000 + 200 + o) << o;
    EXPECT_EQ(params.inputGain[1], 0x8258);
    EXPECT_EQ(params.crosspoint[1][1], 0x0258);
}

TEST(SelectDeviceModel, SetsCountsAndResets)
{
    ParameterStore store;
    store.params.delay[2] = 99;
    SelectDeviceModel(store, 6);
    EXPECT_EQ(store.model.code, 6);
    EXPECT_EQ(store.model.inputs, 8);
    EXPECT_EQ(store.model.outputs, 4);
    EXPECT_EQ(store.params.delay[2], 0);
    SelectDeviceModel(store, 40);
    EXPECT_EQ(store.model.code, 11);
    EXPECT_EQ(store.model.outputs, 16);
}

} // namespace
