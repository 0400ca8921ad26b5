#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(CliOptions, ValuesFlagsAndPositionalsInAnyOrder)
{
    CliOptions options({"model", "port", "address"}, {"shadow"});
    ASSERT_TRUE(options.parse({"--port=/dev/pts/3", "a.T16", "--shadow", "--address", "12", "--", "--b"}));
    EXPECT_EQ(options.positional(), QStringList({"a.T16", "--b"}));
    EXPECT_EQ(options.port(), "/dev/pts/3");
    EXPECT_TRUE(options.isSet("shadow"));
    EXPECT_FALSE(options.isSet("model"));
    int address = 0;
    EXPECT_TRUE(options.address(address));
    EXPECT_EQ(address, 12);
    DeviceModel model;
    EXPECT_TRUE(options.deviceModel(model));
    EXPECT_EQ(model.code, 11) << "16x16 when --model is absent";
}

TEST(CliOptions, RefusesWhatTheCommandDoesNotTake)
{
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        {{"--output", "3"}, "unknown option --output"},
        {{"--model"}, "option --model needs a value"},
        {{"--shadow=1"}, "option --shadow takes no value"},
    };
    for (const Case& c : cases) {
        CliOptions options({"model"}, {"shadow"});
        EXPECT_FALSE(options.parse(c.args)) << c.message;
        EXPECT_EQ(options.error(), QString::fromLatin1(c.message));
    }
}

TEST(CliOptions, AddressMustBeAUnitNumber)
{
    for (const char* bad : {"0", "256", "x", "1.5", ""}) {
        CliOptions options({"address"});
        ASSERT_TRUE(options.parse({"--address", bad}));
        int address = 7;
        EXPECT_FALSE(options.address(address)) << bad;
        EXPECT_EQ(address, 7);
        EXPECT_TRUE(options.error().startsWith("--address must be a whole number from 1 to 255")) << bad;
    }
}

TEST(CliOptions, ModelByNameOrCode)
{
    struct Case {
        const char* text;
        int code; // 0: refused
    };
    const Case cases[] = {{"4x4", 3},  {"4x8", 4},   {"4x16", 5},  {"8x4", 6},   {"8X8", 7}, {"8*16", 8},
                          {"16x4", 9}, {"16x8", 10}, {"16x16", 11}, {"3", 3},    {"11", 11}, {"2", 0},
                          {"12", 0},   {"5x5", 0},   {"4x", 0},     {"16x16x", 0}, {"", 0}};
    for (const Case& c : cases) {
        const auto code = CliOptions::modelCodeFromText(QString::fromLatin1(c.text));
        if (c.code) {
            EXPECT_EQ(code, c.code) << c.text;
        } else {
            EXPECT_FALSE(code.has_value()) << c.text;
        }
    }
    EXPECT_EQ(CliOptions::modelText(9), "16*4");
    EXPECT_EQ(CliOptions::modelText(12), "");
}

} // namespace
