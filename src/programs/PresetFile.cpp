#include "programs/PresetFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

QString PresetFile::mainWindowFilter()
{
    return QStringLiteral("*.T16(tolvan 16) (*.T16)");
}

QString PresetFile::memoryWindowFilter()
{
    return QStringLiteral("*.T16(TOLVAN 16) (*.T16)");
}

PresetFile::ReadResult PresetFile::read(QIODevice* device, MatrixImage& image)
{
    ReadResult result;
    if (!device || !device->isReadable()) {
        result.error = QStringLiteral("The file is not open for reading.");
        return result;
    }
    // One byte more than an image tells a file that is too long from one that fits.
    constexpr qint64 kProbe = kMatrixImageSize + 1;
    QByteArray bytes(int(kProbe), '\0');
    qint64 total = 0;
    while (total < kProbe) {
        const qint64 n = device->read(bytes.data() + total, kProbe - total);
        if (n < 0) {
            result.error = device->errorString();
            return result;
        }
        if (n == 0)
            break;
        total += n;
    }
    if (total != kMatrixImageSize) {
        result.status = Status::WrongSize;
        result.error = total > kMatrixImageSize
                           ? QStringLiteral("The file is longer than %1 bytes.").arg(kMatrixImageSize)
                           : QStringLiteral("The file holds %1 bytes, not %2.").arg(total).arg(kMatrixImageSize);
        return result;
    }
    for (int i = 0; i < kMatrixImageSize; ++i)
        image[std::size_t(i)] = std::uint8_t(bytes[i]);
    result.status = Status::Ok;
    return result;
}

PresetFile::ReadResult PresetFile::readFile(const QString& path, MatrixImage& image)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadResult result;
        result.error = QStringLiteral("%1 cannot be opened: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    ReadResult result = read(&file, image);
    if (result.status == Status::ReadError)
        result.error = QStringLiteral("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), result.error);
    return result;
}

bool PresetFile::write(QIODevice* device, const MatrixImage& image, QString* error)
{
    if (!device || !device->isWritable()) {
        if (error)
            *error = QStringLiteral("The file is not open for writing.");
        return false;
    }
    const qint64 n = device->write(reinterpret_cast<const char*>(image.data()), kMatrixImageSize);
    if (n != kMatrixImageSize) {
        if (error)
            *error = device->errorString();
        return false;
    }
    return true;
}

bool PresetFile::writeFile(const QString& path, const MatrixImage& image, QString* error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    // Never fall back to writing the target in place: a failure must leave it untouched.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1 cannot be created: %2").arg(shown, file.errorString());
        return false;
    }
    QString writeError;
    if (!write(&file, image, &writeError)) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(shown, writeError);
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1 cannot be written: %2").arg(shown, file.errorString());
        return false;
    }
    return true;
}

QString PresetFile::withDefaultExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty())
        return path;
    if (name.endsWith(QLatin1Char('.')))
        return path + QStringLiteral("T16");
    if (!name.contains(QLatin1Char('.')))
        return path + QLatin1String(kExtension);
    return path;
}
