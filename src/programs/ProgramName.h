#pragma once
#include "model/MatrixImage.h"

#include <QString>

// The name under which a program is stored in a unit: 12 characters in image bytes 0..11,
// space-padded, followed by the program-present marker in byte 12.
class ProgramName {
public:
    static constexpr int kLength = 12;
    static constexpr std::uint8_t kPresentMarker = 128;

    // The name box accepts a text only when every character is ASCII (code below 128); a text
    // with any other character is refused as a whole.
    static bool isAcceptable(const QString& text);

    // The 12 bytes stored for `text`: its first 12 characters, padded with spaces. Characters
    // outside Latin-1 (which the name box never lets through) are stored as '?'.
    static QByteArray storedBytes(const QString& text);

    // The name rule of every store operation: bytes 0..11 of `staging` := storedBytes(text),
    // byte 12 := the present marker.
    static void applyTo(MatrixImage& staging, const QString& text);

    // The 12 image bytes of a program name as 12 characters, byte for byte (Latin-1).
    static QString fromImageBytes(const std::uint8_t* bytes);
    static QString fromImageBytes(const QByteArray& bytes);
};
