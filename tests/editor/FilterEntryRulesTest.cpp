#include "editor/FilterEntryRules.h"
#include "model/MatrixTables.h"

#include <gtest/gtest.h>

TEST(FilterEntryRules, TypedFrequenciesFindTheFirstIndexNotBelow)
{
    struct Case {
        double hz;
        int peq;
        int crossover;
    };
    const Case cases[] = {
        {5, 0, 35},          // below 10 Hz: 19.7 Hz
        {10, 0, 0},
        {19.7, 0, 35},
        {19.8, 1, 36},
        {1000, 203, 238},
        {2000, 239, 274},
        {20200, 359, 393},   // the crossover index stops at 393
        {1e9, 359, 393},     // above 20200 Hz: 20200 Hz
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilterEntryRules::peqFrequencyIndex(c.hz), c.peq) << c.hz;
        EXPECT_EQ(FilterEntryRules::crossoverFrequencyIndex(c.hz), c.crossover) << c.hz;
    }
}

TEST(FilterEntryRules, TypedQ)
{
    struct Case {
        double value;
        int index;
        bool store;
    };
    const Case cases[] = {{3.3, 21, true}, {3.2, 21, true}, {0.4, 4, true}, {0.39, 4, false},
                          {200, 104, false}, {128, 104, true}, {127, 103, true}, {10.5, 40, true}};
    for (const Case& c : cases) {
        const auto e = FilterEntryRules::qEntry(c.value);
        EXPECT_EQ(e.index, c.index) << c.value;
        EXPECT_EQ(e.store, c.store) << c.value;
    }
}

TEST(FilterEntryRules, SliderRanges)
{
    EXPECT_EQ(FilterEntryRules::highPassRange(300).max, 300);
    EXPECT_EQ(FilterEntryRules::highPassRange(394).max, 382);
    EXPECT_EQ(FilterEntryRules::lowPassRange(390).min, 385);
    EXPECT_EQ(FilterEntryRules::lowPassRange(0).min, 65);
    EXPECT_EQ(FilterEntryRules::lowPassRange(200).min, 200);
    EXPECT_EQ(FilterEntryRules::lowPassRange(200).max, 394);
    EXPECT_EQ(FilterEntryRules::storedHighPass(383), 383);
    EXPECT_EQ(FilterEntryRules::storedHighPass(390), 383);
    EXPECT_EQ(FilterEntryRules::storedLowPass(10), 65);
    const auto hishelf = FilterEntryRules::peqFrequencyLayout(1);
    EXPECT_EQ(hishelf.range.min, 203);
    EXPECT_EQ(hishelf.range.max, 359);
    const auto loshelf = FilterEntryRules::peqFrequencyLayout(2);
    EXPECT_EQ(loshelf.range.max, 203);
    EXPECT_EQ(loshelf.highLabel, QStringLiteral("1KHz"));
    EXPECT_EQ(FilterEntryRules::peqFrequencyLayout(3).range.max, 359);
}

TEST(FilterEntryRules, OutputCopyTarget)
{
    EXPECT_EQ(FilterEntryRules::outputCopyTarget(16, 16, 16), 1);
    EXPECT_EQ(FilterEntryRules::outputCopyTarget(1, 1, 16), 2);
    EXPECT_EQ(FilterEntryRules::outputCopyTarget(14, 14, 16), 15);
    EXPECT_EQ(FilterEntryRules::outputCopyTarget(15, 15, 16), 1);
    EXPECT_EQ(FilterEntryRules::outputCopyTarget(3, 3, 4), 1);
    EXPECT_EQ(FilterEntryRules::outputCopyTarget(2, 7, 16), 7);
}
