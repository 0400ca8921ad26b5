#include "editor/widgets/ValueBox.h"

#include <gtest/gtest.h>

// Typed text becomes a value only when it is a plain finite number; the boxes turn values into
// integer codes, so "inf" or 1e300 must never get that far.
TEST(ValueBox, TypedTextBecomesAValueOnlyWhenItIsAPlainNumber)
{
    struct Case { const char* text; bool accepted; double value; };
    for (const Case c : {Case{"6.04", true, 6.04}, {" -3.5 dB", true, -3.5}, {"12dB", true, 12.0},
                         {"inf", false, 0}, {"-inf", false, 0}, {"nan", false, 0}, {"1e300", false, 0},
                         {"", false, 0}, {"abc", false, 0}}) {
        const auto v = ValueBox::parseTyped(QString::fromLatin1(c.text), QStringLiteral("dB"));
        EXPECT_EQ(v.has_value(), c.accepted) << c.text;
        if (v && c.accepted) {
            EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
        }
    }
}
