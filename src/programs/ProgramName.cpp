#include "programs/ProgramName.h"

#include "model/MatrixImageCodec.h"

bool ProgramName::isAcceptable(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 128)
            return false;
    return true;
}

QByteArray ProgramName::storedBytes(const QString& text)
{
    QByteArray bytes(kLength, ' ');
    const QString head = text.left(kLength);
    for (int i = 0; i < head.size(); ++i) {
        const char16_t u = head.at(i).unicode();
        bytes[i] = u < 256 ? char(u) : '?';
    }
    return bytes;
}

void ProgramName::applyTo(MatrixImage& staging, const QString& text)
{
    const QByteArray bytes = storedBytes(text);
    for (int i = 0; i < kLength; ++i)
        staging[std::size_t(kImageNameOffset + i)] = std::uint8_t(bytes[i]);
    staging[kImageMarkerOffset] = kPresentMarker;
}

QString ProgramName::fromImageBytes(const std::uint8_t* bytes)
{
    return QString::fromLatin1(reinterpret_cast<const char*>(bytes), kLength);
}

QString ProgramName::fromImageBytes(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.left(kLength));
}
