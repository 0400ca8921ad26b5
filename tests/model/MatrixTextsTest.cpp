#include "model/MatrixTables.h"
#include "model/MatrixTexts.h"
#include "model/ValueCodes.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* function;
    QString (*text)(int);
    int code;
    const char* expected;
};

QString levelText(int word) { return LevelDbText(LevelWord(word)); }

class DisplayTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(DisplayTexts, ShowTheCodeAsTheUnitsDo)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(c.text(c.code), QString::fromLatin1(c.expected)) << c.function << "(" << c.code << ")";
}

#define T(fn, code, text) TextCase{#fn, fn, code, text}

INSTANTIATE_TEST_SUITE_P(
    PeqFrequency, DisplayTexts,
    ::testing::Values(T(PeqFrequencyText, 0, "19.7"), T(PeqFrequencyText, 5, "21.7"), T(PeqFrequencyText, 57, "59"),
                      T(PeqFrequencyText, 8, "23.0"), T(PeqFrequencyText, 79, "90.1"), T(PeqFrequencyText, 80, "94"),
                      T(PeqFrequencyText, 202, "981"), T(PeqFrequencyText, 203, "1.00K"),
                      T(PeqFrequencyText, 292, "5.50K"), T(PeqFrequencyText, 322, "9.89K"),
                      T(PeqFrequencyText, 323, "10.1K"), T(PeqFrequencyText, 359, "20.2K"),
                      T(PeqFrequencyText, -35, "19.7"), T(PeqFrequencyText, 65500, "20.2K")));

INSTANTIATE_TEST_SUITE_P(
    CrossoverFrequency, DisplayTexts,
    ::testing::Values(T(CrossoverFrequencyText, 0, "10Hz"), T(CrossoverFrequencyText, 35, "19.7Hz"),
                      T(CrossoverFrequencyText, 114, "90.1Hz"), T(CrossoverFrequencyText, 238, "1000Hz"),
                      T(CrossoverFrequencyText, 239, "1.02KHz"), T(CrossoverFrequencyText, 274, "2.0KHz"),
                      T(CrossoverFrequencyText, 327, "5.5KHz"), T(CrossoverFrequencyText, 393, "19.8KHz"),
                      T(CrossoverFrequencyText, 394, "20.2KHz"), T(CrossoverFrequencyText, 70000, "20.2KHz"),
                      T(CrossoverFrequencyText, -1, "10Hz")));

INSTANTIATE_TEST_SUITE_P(
    PeqBand, DisplayTexts,
    ::testing::Values(T(PeqGainText, 635, "3.5dB"), T(PeqGainText, 600, "0dB"), T(PeqGainText, 480, "-12dB"),
                      T(PeqGainText, 599, "-0.1dB"), T(PeqGainText, 720, "12dB"), T(PeqGainText, 9999, "12dB"),
                      T(PeqGainText, 0, "-12dB"), T(QLabelText, 0, "0.4"), T(QLabelText, 20, "3.0"),
                      T(QLabelText, 40, "10"), T(QLabelText, 41, "11"), T(QLabelText, 42, "12"),
                      T(QLabelText, 50, "20"), T(QLabelText, 51, "22"), T(QLabelText, 62, "44"),
                      T(QLabelText, 63, "46"), T(QLabelText, 104, "128"), T(QLabelText, 255, "128"),
                      T(PeqTypeText, 0, "PEQ"), T(PeqTypeText, 3, "ALLPASS"), T(PeqTypeText, 4, ""),
                      T(PeqTypeText, 7, "")));

INSTANTIATE_TEST_SUITE_P(
    FilterType, DisplayTexts,
    ::testing::Values(T(FilterTypeText, 0, "FLAT THRU"), T(FilterTypeText, 8, "12dB/1.1"),
                      T(FilterTypeText, 19, "12dB Butterworth"), T(FilterTypeText, 27, "48dB Link_Riley"),
                      T(FilterTypeText, 28, ""), T(FilterTypeText, -1, ""), T(FilterTypeText, 254, "")));

INSTANTIATE_TEST_SUITE_P(
    LevelAndDelay, DisplayTexts,
    ::testing::Values(T(levelText, 0x8258, "0.0dB"), T(levelText, 0x0258, "0.0dB"), T(levelText, 200, "-40.0dB"),
                      T(levelText, 660, "6.0dB"), T(levelText, 599, "-0.1dB"), T(levelText, 630, "3.0dB"),
                      T(levelText, 0x7FFF, "6.0dB"), T(levelText, 0, "-40.0dB"), T(DelayMsText, 0, "0.00ms"),
                      T(DelayMsText, 2915, "291.50ms"), T(DelayMetresText, 2915, "99.98m"),
                      T(DelayFeetText, 2915, "328.23ft"), T(DelayMsText, 13650, "1365.00ms"),
                      T(DelayMsText, 65535, "1365.00ms"), T(DelayFeetText, 65535, "1536.99ft")));

INSTANTIATE_TEST_SUITE_P(
    Dynamics, DisplayTexts,
    ::testing::Values(
        T(AttackText, 0, "0.10ms"), T(AttackText, 60, "1.00ms"), T(AttackText, 66, "2.35ms"),
        T(AttackText, 78, "5.05ms"), T(AttackText, 127, "100.00ms"), T(AttackText, 255, "100.00ms"),
        T(ReleaseText, 60, "100ms"), T(ReleaseText, 63, "160ms"), T(ReleaseText, 100, "1000ms"),
        T(ReleaseText, 255, "5000ms"), T(CompressorThresholdText, 0, "-Inf"),
        T(CompressorThresholdText, 1, "-24dB"), T(CompressorThresholdText, 2, "-21dB"),
        T(CompressorThresholdText, 23, "6dB"), T(CompressorThresholdText, 29, "12dB"),
        T(CompressorThresholdText, 200, "12dB"), T(CompressorRatioText, 0, "1:128"),
        T(CompressorRatioText, 63, "64:128"), T(CompressorRatioText, 255, "128:128"),
        T(CompressorBoostText, 0, "x1"), T(CompressorBoostText, 3, "x8"), T(CompressorBoostText, 4, ""),
        T(LimiterAttackText, 0, "20.0us"), T(LimiterAttackText, 38, "45.3us"), T(LimiterAttackText, 59, "59.3us"),
        T(LimiterAttackText, 60, "40.0us"), T(LimiterAttackText, 127, "3000.0us"),
        T(LimiterAttackText, 200, "3000.0us"), T(LimiterThresholdText, 0, "-Inf"),
        T(LimiterThresholdText, 1, "-53.0dB"), T(LimiterThresholdText, 66, "-20.5dB"),
        T(LimiterThresholdText, 67, "-20.0dB"), T(LimiterThresholdText, 127, "10.0dB"),
        T(LimiterThresholdText, 255, "10.0dB"), T(LimiterHoldText, 0, "0ms"), T(LimiterHoldText, 2, "3ms"),
        T(LimiterHoldText, 8, "10ms"), T(LimiterHoldText, 9, ""), T(GateThresholdText, 0, "0FF"),
        T(GateThresholdText, 1, "-66dB"), T(GateThresholdText, 2, "-60dB"), T(GateThresholdText, 7, "-45dB"),
        T(GateThresholdText, 8, "-44dB"), T(GateThresholdText, 28, "-24dB"), T(GateThresholdText, 29, "")));

#undef T

TEST(FrequencyText, ShortestDecimalsAndKiloHertz)
{
    EXPECT_EQ(FrequencyText(10), QStringLiteral("10Hz"));
    EXPECT_EQ(FrequencyText(19.7), QStringLiteral("19.7Hz"));
    EXPECT_EQ(FrequencyText(1000), QStringLiteral("1000Hz"));
    EXPECT_EQ(FrequencyText(1000.5), QStringLiteral("1.0005KHz"));
    EXPECT_EQ(FrequencyText(1020), QStringLiteral("1.02KHz"));
    EXPECT_EQ(FrequencyText(2000), QStringLiteral("2.0KHz"));
    EXPECT_EQ(FrequencyText(19800), QStringLiteral("19.8KHz"));
}

TEST(MatrixTables, FrequencyScaleKeepsItsIrregularEntriesAndAscends)
{
    EXPECT_EQ(FrequencyScale[0], 10);
    EXPECT_EQ(FrequencyScale[35], 19.7);
    EXPECT_EQ(FrequencyScale[114], 90.1);
    EXPECT_EQ(FrequencyScale[115], 94);
    EXPECT_EQ(FrequencyScale[238], 1000);
    EXPECT_EQ(FrequencyScale[327], 5500);
    EXPECT_EQ(FrequencyScale[393], 19800);
    EXPECT_EQ(FrequencyScale[394], 20200);
    for (std::size_t i = 1; i < FrequencyScale.size(); ++i)
        EXPECT_LT(FrequencyScale[i - 1], FrequencyScale[i]) << i;
    EXPECT_EQ(PeqFrequencyAt(203), 1000);
    EXPECT_EQ(PeqFrequencyAt(-1), 19.7);
    EXPECT_EQ(FrequencyAt(400), 20200);
}

TEST(MatrixTables, QLabelValuesAreTheNumbersTheLabelsShow)
{
    for (int q = 0; q < kQLabelCount; ++q)
        EXPECT_EQ(QString::fromLatin1(QLabels[std::size_t(q)]).toDouble(), QLabelValues[std::size_t(q)]) << q;
    EXPECT_EQ(QValueAt(-3), 0.4);
    EXPECT_EQ(QValueAt(300), 128);
}

TEST(MatrixTables, DynamicsTablesShareTheirFirstEntries)
{
    for (std::size_t i = 0; i <= 60; ++i)
        EXPECT_EQ(AttackTable[i], ReleaseTable[i]) << i;
    EXPECT_EQ(AttackTable[61], 123);
    EXPECT_EQ(ReleaseTable[61], 120);
    EXPECT_EQ(ReleaseTable[127], 5000);
    EXPECT_EQ(AttackTable[127], 10000);
    EXPECT_EQ(LimiterAttackTable[59], 593);
    EXPECT_EQ(LimiterAttackTable[60], 400);
    EXPECT_EQ(LimiterAttackTable[127], 30000);
    EXPECT_EQ(CompressorThresholdTable[0], -30);
    EXPECT_EQ(CompressorThresholdTable[17], 0);
}

struct SearchCase {
    const char* what;
    int found;
    int expected;
};

TEST(FirstCodeAtLeast, TypedValuesFindTheirCodeInTableOrder)
{
    const SearchCase cases[] = {
        {"compressor attack 5 ms", FirstCodeAtLeast(AttackTable, 500), 78},
        {"compressor attack 2.3 ms", FirstCodeAtLeast(AttackTable, 230), 66},
        {"compressor attack 150 ms", FirstCodeAtLeast(AttackTable, 15000), 127},
        {"release 150 ms", FirstCodeAtLeast(ReleaseTable, 150), 63},
        {"limiter attack 45 us", FirstCodeAtLeast(LimiterAttackTable, 450), 38},
        {"limiter attack 60 us", FirstCodeAtLeast(LimiterAttackTable, 600), 76},
        {"compressor threshold -23 dB", FirstCodeAtLeast(CompressorThresholdTable, -23), 2},
        {"compressor threshold -30 dB", FirstCodeAtLeast(CompressorThresholdTable, -30), 0},
    };
    for (const SearchCase& c : cases)
        EXPECT_EQ(c.found, c.expected) << c.what;
}

TEST(ValueCodes, LevelWordsAndEntries)
{
    EXPECT_EQ(LevelCodeFromDb(6.04), 660);
    EXPECT_EQ(LevelCodeFromDb(3), 630);
    EXPECT_FALSE(IsMutedWord(32760));
    EXPECT_TRUE(IsMutedWord(32761));
    EXPECT_TRUE(IsMutedWord(0x8258));
    EXPECT_EQ(LevelCodeOf(0x8258), 600);
    EXPECT_EQ(MakeLevelWord(630, true), 0x8276);
    EXPECT_EQ(LimiterThresholdDbOf(1), -53);
    EXPECT_DOUBLE_EQ(DelayMetresOf(13650), 468.195);
}

} // namespace
