// Preset files: exact-size reading through QBuffer and real files, writing through a temporary
// file that replaces the target only when complete, the extension rule.
#include "model/MatrixImageCodec.h"
#include "programs/PresetFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

MatrixImage pattern(std::uint8_t seed)
{
    MatrixImage im{};
    for (std::size_t i = 0; i < im.size(); ++i)
        im[i] = std::uint8_t(seed + i * 13 + (i >> 7));
    return im;
}

QByteArray bytesOf(const MatrixImage& im)
{
    return QByteArray(reinterpret_cast<const char*>(im.data()), int(im.size()));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A sequential source that never ends, counting what was taken from it.
class EndlessDevice : public QIODevice {
public:
    qint64 taken = 0;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, 7); // short reads, as a pipe gives
        std::fill_n(data, n, char(0x5A));
        taken += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
};

} // namespace

TEST(PresetFile, ReadsExactlyOneImageAndRefusesAnyOtherLength)
{
    const MatrixImage good = pattern(3);
    const QByteArray whole = bytesOf(good);
    struct Case {
        int length;
        PresetFile::Status status;
    };
    const Case cases[] = {{0, PresetFile::Status::WrongSize},    {12, PresetFile::Status::WrongSize},
                          {1599, PresetFile::Status::WrongSize}, {1600, PresetFile::Status::Ok},
                          {1601, PresetFile::Status::WrongSize}, {1799, PresetFile::Status::WrongSize},
                          {4000, PresetFile::Status::WrongSize}};
    for (const Case& c : cases) {
        QByteArray data = whole.left(c.length);
        while (data.size() < c.length)
            data.append(char(0x77));
        QBuffer buffer(&data);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        MatrixImage image = pattern(200);
        const MatrixImage before = image;
        const auto result = PresetFile::read(&buffer, image);
        EXPECT_EQ(result.status, c.status) << c.length;
        if (c.status == PresetFile::Status::Ok) {
            EXPECT_EQ(image, good);
            EXPECT_TRUE(result.error.isEmpty());
        } else {
            EXPECT_EQ(image, before) << "a refused file must leave the image as it was, length " << c.length;
            EXPECT_FALSE(result.error.isEmpty());
        }
        // Never more than one byte past an image is taken from the source.
        EXPECT_LE(buffer.pos(), 1601) << c.length;
    }
}

TEST(PresetFile, AnEndlessSourceIsRefusedAfterOneByteMoreThanAnImage)
{
    EndlessDevice device;
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    MatrixImage image{};
    const auto result = PresetFile::read(&device, image);
    EXPECT_EQ(result.status, PresetFile::Status::WrongSize);
    EXPECT_EQ(device.taken, 1601);
    EXPECT_EQ(image, MatrixImage{});
}

TEST(PresetFile, ADeviceNotOpenForReadingIsAReadError)
{
    QBuffer closed;
    MatrixImage image{};
    EXPECT_EQ(PresetFile::read(&closed, image).status, PresetFile::Status::ReadError);
    EXPECT_EQ(PresetFile::read(nullptr, image).status, PresetFile::Status::ReadError);
}

TEST(PresetFile, WriteThenReadThroughABufferGivesTheSameImage)
{
    const MatrixImage image = DefaultMatrixImage();
    QByteArray data;
    QBuffer out(&data);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    QString error;
    ASSERT_TRUE(PresetFile::write(&out, image, &error)) << error.toStdString();
    EXPECT_EQ(data.size(), 1600);
    out.close();

    QBuffer in(&data);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    MatrixImage back{};
    ASSERT_TRUE(PresetFile::read(&in, back).ok());
    EXPECT_EQ(back, image);

    QBuffer readOnly(&data);
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    EXPECT_FALSE(PresetFile::write(&readOnly, image, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(PresetFile, FilesOnDiskRoundTripAndReplaceAnExistingFileWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("a.T16"));
    writeRaw(path, QByteArray(3000, 'x')); // an older, longer file
    QString error;
    ASSERT_TRUE(PresetFile::writeFile(path, pattern(9), &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), bytesOf(pattern(9)));
    MatrixImage back{};
    EXPECT_TRUE(PresetFile::readFile(path, back).ok());
    EXPECT_EQ(back, pattern(9));
    // Nothing but the target is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.T16")});
}

TEST(PresetFile, AFileThatCannotBeOpenedIsAReadErrorNamingIt)
{
    QTemporaryDir dir;
    MatrixImage image = pattern(1);
    const auto missing = PresetFile::readFile(dir.filePath(QStringLiteral("none.T16")), image);
    EXPECT_EQ(missing.status, PresetFile::Status::ReadError);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("none.T16"))) << missing.error.toStdString();
    const auto folder = PresetFile::readFile(dir.path(), image);
    EXPECT_NE(folder.status, PresetFile::Status::Ok);
    EXPECT_EQ(image, pattern(1));
}

TEST(PresetFile, ASaveIntoAFolderThatIsAFileFailsAndLeavesNothing)
{
    // Fails for every user, root included.
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath(QStringLiteral("plain"));
    writeRaw(notAFolder, "x");
    QString error;
    EXPECT_FALSE(PresetFile::writeFile(notAFolder + QStringLiteral("/b.T16"), pattern(2), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("b.T16"))) << error.toStdString();
    EXPECT_EQ(readAll(notAFolder), QByteArray("x"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plain")});
}

TEST(PresetFile, ASaveIntoAReadOnlyFolderFailsAndLeavesTheOldFileAndNoPartialFile)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/old.T16");
    writeRaw(path, bytesOf(pattern(5)));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Restore {
        QString folder;
        ~Restore()
        {
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    } restore{folder};
    if (::access(folder.toLocal8Bit().constData(), W_OK) == 0) {
        // Root writes into any folder: run this very test once more as an unprivileged user.
        if (::geteuid() != 0 || qEnvironmentVariableIsSet("T16_UNPRIVILEGED_RUN"))
            GTEST_SKIP() << "the folder stays writable for this user";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromLatin1(info->test_suite_name()),
                                                                          QString::fromLatin1(info->name()));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("T16_UNPRIVILEGED_RUN"), QStringLiteral("1"));
        env.insert(QStringLiteral("TMPDIR"), QDir::tempPath());
        env.insert(QStringLiteral("HOME"), QDir::tempPath());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                                                filter});
        if (!child.waitForStarted(5000) || !child.waitForFinished(60000))
            GTEST_SKIP() << "running as root and no unprivileged user could be taken on (setpriv)";
        const QByteArray out = child.readAll();
        if (out.contains("[  FAILED  ]") || (out.contains("[  PASSED  ] 1 test") && child.exitCode() != 0))
            FAIL() << "as an unprivileged user:\n" << out.toStdString();
        if (!out.contains("[  PASSED  ] 1 test") || out.contains("[  SKIPPED ]"))
            GTEST_SKIP() << "running as root; the unprivileged run could not be made:\n" << out.toStdString();
        return;
    }

    QString error;
    EXPECT_FALSE(PresetFile::writeFile(path, pattern(6), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), bytesOf(pattern(5)));
    EXPECT_FALSE(PresetFile::writeFile(folder + QStringLiteral("/new.T16"), pattern(6), &error));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.T16")});
}

TEST(PresetFile, ANameWithoutExtensionGetsT16)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/tmp/show", "/tmp/show.T16"},
        {"/tmp/show.T16", "/tmp/show.T16"},
        {"/tmp/show.t16", "/tmp/show.t16"},
        {"/tmp/show.bin", "/tmp/show.bin"},
        {"/tmp/show.", "/tmp/show.T16"},
        {"/tmp/v1.2/show", "/tmp/v1.2/show.T16"},
        {"show", "show.T16"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(PresetFile::withDefaultExtension(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}
