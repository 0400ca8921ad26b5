// What typed values become on the Comp/Limit page, without widgets.
#include "editor/DynamicsEntry.h"
#include "model/MatrixTables.h"
#include "model/MatrixTexts.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

struct TableCase {
    double typed;
    int code;
    const char* shown;
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.typed << " -> " << c.code; }

class CompressorAttack : public ::testing::TestWithParam<TableCase> {};
TEST_P(CompressorAttack, FirstEntryReachingTheTypedValue)
{
    const TableCase& c = GetParam();
    const int code = AttackCodeFromMs(c.typed);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(AttackText(code).toStdString(), c.shown);
}
INSTANTIATE_TEST_SUITE_P(Cases, CompressorAttack,
                         ::testing::Values(TableCase{5, 78, "5.05ms"}, TableCase{2.3, 66, "2.35ms"},
                                           TableCase{150, 127, "100.00ms"}, TableCase{100, 127, "100.00ms"},
                                           TableCase{1, 60, "1.00ms"}, TableCase{0, 0, "0.10ms"},
                                           TableCase{-3, 0, "0.10ms"},
                                           // 0.29 * 100 is 28.999... in binary: still a search for 29.
                                           TableCase{0.29, 13, "0.30ms"}, TableCase{0.57, 32, "0.58ms"},
                                           TableCase{0.28, 12, "0.28ms"}, TableCase{1.001, 60, "1.00ms"},
                                           TableCase{1.01, 61, "1.23ms"}));

class LimiterAttack : public ::testing::TestWithParam<TableCase> {};
TEST_P(LimiterAttack, FirstIndexInTableOrderOverTheFallingTable)
{
    const TableCase& c = GetParam();
    const int code = LimiterAttackCodeFromUs(c.typed);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(LimiterAttackText(code).toStdString(), c.shown);
}
INSTANTIATE_TEST_SUITE_P(Cases, LimiterAttack,
                         ::testing::Values(TableCase{45, 38, "45.3us"}, TableCase{45.3, 38, "45.3us"},
                                           TableCase{60, 76, "60.0us"}, TableCase{59.3, 59, "59.3us"},
                                           TableCase{40, 30, "40.0us"}, TableCase{20, 0, "20.0us"},
                                           TableCase{10, 0, "20.0us"}, TableCase{3000, 127, "3000.0us"},
                                           TableCase{5000, 127, "3000.0us"}, TableCase{100, 100, "100.0us"},
                                           TableCase{88.9, 100, "100.0us"}));

class Release : public ::testing::TestWithParam<TableCase> {};
TEST_P(Release, FirstEntryReachingTheWholeMilliseconds)
{
    const TableCase& c = GetParam();
    const int code = ReleaseCodeFromMs(c.typed);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(ReleaseText(code).toStdString(), c.shown);
}
INSTANTIATE_TEST_SUITE_P(Cases, Release,
                         ::testing::Values(TableCase{150, 63, "160ms"}, TableCase{160, 63, "160ms"},
                                           TableCase{160.9, 63, "160ms"}, TableCase{100, 60, "100ms"},
                                           TableCase{11, 1, "12ms"}, TableCase{5000, 127, "5000ms"},
                                           TableCase{9000, 127, "5000ms"}, TableCase{1, 0, "10ms"}));

TEST(DynamicsEntry, EveryTableValueTypedBackGivesItsOwnCode)
{
    // What an attack or release box shows, typed again, selects the same entry. (Not so for the
    // limiter: most of its codes 60..99 lie below a higher entry of the first part.)
    for (int code = 0; code < kDynamicsTableSize; ++code) {
        EXPECT_EQ(AttackCodeFromMs(AttackTable[std::size_t(code)] / 100.0), code) << code;
        EXPECT_EQ(ReleaseCodeFromMs(ReleaseTable[std::size_t(code)]), code) << code;
    }
    EXPECT_EQ(LimiterAttackCodeFromUs(41.2), 32); // 41.3us, not code 61 at 41.2us
}

TEST(DynamicsEntry, RatioIsTheWholeNumberLessOneWithinTheBoxRange)
{
    const std::pair<double, int> cases[] = {{1, 0}, {64, 63}, {64.9, 63}, {128, 127},
                                            {0, 0}, {-5, 0}, {300, 127}, {2.5, 1}};
    for (auto [typed, code] : cases)
        EXPECT_EQ(RatioCodeFromEntry(typed), code) << typed;
}

struct TextCase {
    const char* typed;
    int code;
    const char* shown;
};

class LimiterThreshold : public ::testing::TestWithParam<TextCase> {};
TEST_P(LimiterThreshold, HalfDecibelStepsFromMinus53)
{
    const TextCase& c = GetParam();
    const int code = LimiterThresholdCodeFromText(QString::fromUtf8(c.typed));
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(LimiterThresholdText(code).toStdString(), c.shown);
}
INSTANTIATE_TEST_SUITE_P(Cases, LimiterThreshold,
                         ::testing::Values(TextCase{"-20", 67, "-20.0dB"}, TextCase{"-20.3", 66, "-20.5dB"},
                                           TextCase{"-53.4", 0, "-Inf"}, TextCase{"11", 127, "10.0dB"},
                                           TextCase{"nonsense", 0, "-Inf"}, TextCase{"", 0, "-Inf"},
                                           TextCase{"-20dB", 67, "-20.0dB"}, TextCase{"10", 127, "10.0dB"},
                                           TextCase{"10.4", 127, "10.0dB"}, TextCase{"-53", 1, "-53.0dB"},
                                           TextCase{"-53.5", 0, "-Inf"}, TextCase{"-90", 0, "-Inf"},
                                           TextCase{"0", 107, "0.0dB"}, TextCase{"1k", 127, "10.0dB"}));

class CompressorThreshold : public ::testing::TestWithParam<TextCase> {};
TEST_P(CompressorThreshold, UpToTheNextTableStep)
{
    const TextCase& c = GetParam();
    const int code = CompressorThresholdCodeFromText(QString::fromUtf8(c.typed));
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(CompressorThresholdText(code).toStdString(), c.shown);
}
INSTANTIATE_TEST_SUITE_P(Cases, CompressorThreshold,
                         ::testing::Values(TextCase{"-23", 2, "-21dB"}, TextCase{"-25", 0, "-Inf"},
                                           TextCase{"13", 29, "12dB"}, TextCase{"12", 29, "12dB"},
                                           TextCase{"-24.5", 0, "-Inf"}, TextCase{"-24.4", 1, "-24dB"},
                                           TextCase{"6", 23, "6dB"}, TextCase{"5.5", 23, "6dB"},
                                           TextCase{"-0.5dB", 17, "0dB"}, TextCase{"junk", 0, "-Inf"}));

TEST(DynamicsEntry, ValuesThatAreNotNumbersGiveValidCodes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(AttackCodeFromMs(nan), 0);
    EXPECT_EQ(AttackCodeFromMs(inf), 127);
    EXPECT_EQ(AttackCodeFromMs(-inf), 0);
    EXPECT_EQ(LimiterAttackCodeFromUs(1e300), 127);
    EXPECT_EQ(ReleaseCodeFromMs(-1e300), 0);
    EXPECT_EQ(RatioCodeFromEntry(nan), 0);
    EXPECT_EQ(RatioCodeFromEntry(inf), 127);
    EXPECT_EQ(LimiterThresholdCodeFromDb(nan), 0);
    EXPECT_EQ(LimiterThresholdCodeFromDb(inf), 127);
    EXPECT_EQ(CompressorThresholdCodeFromDb(nan), 0);
    EXPECT_EQ(CompressorThresholdCodeFromDb(-inf), 0);
}

TEST(DynamicsEntry, SwitchLitStoresZeroAndOnlyExactly0x80ShowsDark)
{
    EXPECT_EQ(DynamicsSwitchByte(true), 0x00);
    EXPECT_EQ(DynamicsSwitchByte(false), 0x80);
    EXPECT_FALSE(IsDynamicsSwitchLit(0x80));
    for (int b : {0x00, 0x01, 0x7F, 0x81, 0xFF})
        EXPECT_TRUE(IsDynamicsSwitchLit(std::uint8_t(b))) << b;
}

} // namespace
