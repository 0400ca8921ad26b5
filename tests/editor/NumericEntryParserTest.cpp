#include "editor/NumericEntryParser.h"

#include <gtest/gtest.h>

namespace {

struct EntryCase {
    const char* text;
    double expected;
};

class NumericEntryParserCases : public ::testing::TestWithParam<EntryCase> {};

TEST_P(NumericEntryParserCases, ReadsTheTypedNumber)
{
    const EntryCase& c = GetParam();
    EXPECT_EQ(NumericEntryParser(QString::fromUtf8(c.text)), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumericEntryParserCases,
    ::testing::Values(EntryCase{"2k", 2000}, EntryCase{"1.5KHz", 1500}, EntryCase{"-3dB", -3},
                      EntryCase{"1e3", 13}, EntryCase{"12.5", 12.5}, EntryCase{"", kNumericEntryFailure},
                      EntryCase{"Hz", kNumericEntryFailure}, EntryCase{"1.2.3", kNumericEntryFailure},
                      // blanks, signs and the decimal point
                      EntryCase{"  +4.25  ", 4.25}, EntryCase{".", 0}, EntryCase{"5.", 5}, EntryCase{".5", 0.5},
                      EntryCase{"- 3", kNumericEntryFailure}, EntryCase{"-", kNumericEntryFailure},
                      EntryCase{"3 4", kNumericEntryFailure}, EntryCase{"--3", kNumericEntryFailure},
                      EntryCase{"1,5", kNumericEntryFailure}, EntryCase{"   ", kNumericEntryFailure},
                      // letters anywhere are dropped; K of either case anywhere multiplies
                      EntryCase{"k2", 2000}, EntryCase{"20.2 KHz", 20200}, EntryCase{"-1.5k", -1500},
                      EntryCase{"x1y2z", 12}, EntryCase{"\xc2\xb5s", kNumericEntryFailure},
                      EntryCase{"1234567", kNumericEntryFailure}));

} // namespace
