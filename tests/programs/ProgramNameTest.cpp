// The name rule of every program store.
#include "programs/ProgramName.h"

#include <gtest/gtest.h>

TEST(ProgramName, StoredAsTwelveCharactersSpacePaddedWithThePresentMarker)
{
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("AB"), QByteArray("AB          ")},
        {QStringLiteral("123456789012"), QByteArray("123456789012")},
        {QString(), QByteArray("            ")},
        {QStringLiteral("Preset "), QByteArray("Preset      ")},
        {QStringLiteral("1234567890123"), QByteArray("123456789012")},
    };
    for (const auto& [text, stored] : cases) {
        MatrixImage image{};
        image.fill(0xEE);
        ProgramName::applyTo(image, text);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.data()), 12), stored) << text.toStdString();
        EXPECT_EQ(image[12], 128);
        EXPECT_EQ(image[13], 0xEE); // nothing beyond the marker changes
    }
}

TEST(ProgramName, OnlyAsciiTextsAreAcceptable)
{
    EXPECT_TRUE(ProgramName::isAcceptable(QStringLiteral("Stage L+R 1")));
    EXPECT_TRUE(ProgramName::isAcceptable(QString()));
    EXPECT_TRUE(ProgramName::isAcceptable(QString(QChar(127))));
    EXPECT_FALSE(ProgramName::isAcceptable(QString(QChar(128))));
    EXPECT_FALSE(ProgramName::isAcceptable(QStringLiteral("Caf\u00E9")));
    EXPECT_FALSE(ProgramName::isAcceptable(QStringLiteral("x\u20AC")));
}

TEST(ProgramName, ImageBytesReadBackByteForByte)
{
    const std::uint8_t bytes[12] = {'A', ' ', 0, 'z', 0xE9, ' ', ' ', ' ', ' ', ' ', ' ', '!'};
    const QString text = ProgramName::fromImageBytes(bytes);
    ASSERT_EQ(text.size(), 12);
    EXPECT_EQ(text.at(2).unicode(), 0);
    EXPECT_EQ(text.at(4).unicode(), 0xE9);
    EXPECT_EQ(ProgramName::storedBytes(text), QByteArray(reinterpret_cast<const char*>(bytes), 12));
}
