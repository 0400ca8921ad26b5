// The pty server end to end: a plain POSIX descriptor or a QSerialPort on the host side, the
// virtual unit on the other. Real time, kept short.
#include "SimTestSupport.h"
#include "platform/MonotonicClock.h"
#include "sim/PtyServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace simtest;

namespace {

const QByteArray kConnect1 = QByteArray::fromHex("41526301e6640001004ca8b9c3");

// The host side as a plain descriptor.
struct Host {
    int fd = -1;
    // Opens `path`, trying again for up to `retryMs` (a line coming back after a hang-up).
    explicit Host(const QString& path, int retryMs = 0)
    {
        QElapsedTimer clock;
        clock.start();
        do
            fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
        while (fd < 0 && clock.elapsed() < retryMs && ::usleep(5000) == 0);
    }
    ~Host()
    {
        if (fd >= 0)
            ::close(fd);
    }
    bool ok() const { return fd >= 0; }
    void write(const QByteArray& b) const { ASSERT_EQ(::write(fd, b.constData(), std::size_t(b.size())), b.size()); }
    // Reads until `n` bytes came or `ms` passed; stops early on an error or end of file.
    QByteArray read(int n, int ms, bool* failed = nullptr) const
    {
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        while (got.size() < n && clock.elapsed() < ms) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, int(ms - clock.elapsed())) <= 0)
                continue;
            char buf[256];
            const ssize_t r = ::read(fd, buf, sizeof buf);
            if (r <= 0) {
                if (failed)
                    *failed = true;
                break;
            }
            got.append(buf, r);
        }
        return got;
    }
};

// Until the line has received `n` bytes in all.
bool waitForBytes(PtyServer& server, std::uint64_t n)
{
    QElapsedTimer clock;
    clock.start();
    while (server.line().bytesReceived() < n && clock.elapsed() < 2000)
        ::usleep(2000);
    return server.line().bytesReceived() >= n;
}

struct PtyFixture : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;
    QString link;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        link = dir.filePath(QStringLiteral("ttyT16"));
        server.line().addUnit(1);
        ASSERT_TRUE(server.start(link)) << server.errorString().toStdString();
    }
};

} // namespace

TEST_F(PtyFixture, FrameInReplyOutWithNoEcho)
{
    EXPECT_EQ(server.devicePath(), link);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), server.slavePath());
    EXPECT_TRUE(server.slavePath().startsWith(QStringLiteral("/dev/pts/")));
    Host host(link);
    ASSERT_TRUE(host.ok());
    host.write(kConnect1);
    ASSERT_TRUE(server.line().waitForFrames(1, 2000));
    const QByteArray reply = host.read(26, 2000);
    EXPECT_EQ(parse(reply).key, 210);
    EXPECT_EQ(host.read(1, 100), QByteArray()) << "nothing echoed, nothing extra";

    const SimFrame f = server.line().frames().at(0);
    EXPECT_TRUE(f.valid);
    EXPECT_EQ(f.wire, kConnect1);
    ASSERT_EQ(f.arrivalNs.size(), 13u);
    EXPECT_TRUE(std::is_sorted(f.arrivalNs.begin(), f.arrivalNs.end()));
    EXPECT_LE(f.arrivalNs.back(), MonotonicClock::nowNs()) << "stamped on the monotonic clock";
}

TEST_F(PtyFixture, NoNewlineTranslationEitherWay)
{
    // Chunk 1 of a program holding CR and LF bytes: both directions must pass them untouched.
    VirtualUnit* u = server.line().unit(1);
    server.withLine([&](SimLine&) {
        u->program(2).present = true;
        u->program(2).image.fill(0x0A);
        u->program(2).image[3] = 0x0D;
    });
    Host host(link);
    host.write(wire(1, 204, 2, 0x0D, bytes({1})) + wire(1, 21, 0x0A, 0x0A, bytes({0x0D, 0x0A})));
    const QByteArray replies = host.read(52, 2000);
    ASSERT_EQ(replies.size(), 52);
    const ParsedReply r = parse(replies.left(26));
    EXPECT_EQ(r.key, 1);
    EXPECT_EQ(std::uint8_t(r.data[3]), 0x0D);
    EXPECT_EQ(std::uint8_t(r.data[4]), 0x0A);
    const auto frames = server.line().frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].valid);
    EXPECT_TRUE(frames[1].valid);
}

TEST_F(PtyFixture, TheLineSurvivesTheHostClosingAndReopening)
{
    for (int round = 0; round < 3; ++round) {
        Host host(link);
        ASSERT_TRUE(host.ok()) << round;
        host.write(kConnect1);
        EXPECT_EQ(host.read(26, 2000).size(), 26) << round;
    }
    EXPECT_EQ(server.line().validFrameCount(), 3u);
}

TEST_F(PtyFixture, RepliesDueWhileTheHostIsClosedAreLost)
{
    server.withLine([](SimLine& l) { l.unit(1)->faults().replyLatencyMs = 150; });
    {
        Host host(link);
        ASSERT_TRUE(host.ok());
        host.write(kConnect1);
        ASSERT_TRUE(server.line().waitForFrames(1, 2000));
        EXPECT_TRUE(server.hostPresent()) << "the open was seen before the frame was read";
    } // closed before the reply is due
    ::usleep(400000);
    EXPECT_FALSE(server.hostPresent());
    Host again(link);
    ASSERT_TRUE(again.ok());
    EXPECT_TRUE(again.read(1, 300).isEmpty()) << "no stale reply waits in the pty";
    again.write(kConnect1);
    EXPECT_EQ(again.read(26, 2000).size(), 26);
}

TEST_F(PtyFixture, HangUpFailsTheHostAndANewOpenWorks)
{
    const QString before = server.slavePath();
    Host host(link);
    ASSERT_TRUE(host.ok());
    host.write(kConnect1.left(6)); // a frame in progress
    ASSERT_TRUE(waitForBytes(server, 6));
    server.hangUp();
    EXPECT_EQ(server.hangUps(), 1);
    EXPECT_NE(server.slavePath(), before);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), server.slavePath());

    bool failed = false;
    host.read(1, 1000, &failed);
    EXPECT_TRUE(failed) << "the host's read fails once the line is gone";

    Host again(link);
    ASSERT_TRUE(again.ok());
    again.write(kConnect1);
    EXPECT_EQ(parse(again.read(26, 2000)).key, 210);
    const auto frames = server.line().frames();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames.front().error, QStringLiteral("cut"));
    EXPECT_TRUE(frames.back().valid);
}

TEST_F(PtyFixture, AHangUpWithDownTimeKeepsTheLinkAwayUntilTheLineIsBack)
{
    server.hangUp(300);
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_FALSE(Host(link).ok());
    QElapsedTimer clock;
    clock.start();
    while (server.hangUps() < 1 && clock.elapsed() < 3000)
        ::usleep(5000);
    ASSERT_EQ(server.hangUps(), 1);
    Host host(link);
    ASSERT_TRUE(host.ok());
    host.write(kConnect1);
    EXPECT_EQ(host.read(26, 2000).size(), 26);
}

TEST_F(PtyFixture, QSerialPortTalksToTheUnitAndRecoversFromAHangUp)
{
    QSerialPort port;
    port.setPortName(link);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    port.setBaudRate(38400);
    auto exchange = [&](QSerialPort& p) {
        p.write(kConnect1);
        p.flush();
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        while (got.size() < 26 && clock.elapsed() < 2000)
            if (p.waitForReadyRead(100))
                got += p.readAll();
        return got;
    };
    EXPECT_EQ(parse(exchange(port)).key, 210);

    QList<QSerialPort::SerialPortError> errors;
    QObject::connect(&port, &QSerialPort::errorOccurred, [&](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::NoError)
            errors << e;
    });
    server.hangUp();
    QElapsedTimer clock;
    clock.start();
    while (errors.isEmpty() && clock.elapsed() < 2000)
        port.waitForReadyRead(50);
    ASSERT_FALSE(errors.isEmpty()) << "the port reports the hang-up";
    port.close();

    QSerialPort again;
    again.setPortName(link);
    ASSERT_TRUE(again.open(QIODevice::ReadWrite)) << again.errorString().toStdString();
    EXPECT_EQ(parse(exchange(again)).key, 210);
}

TEST(PtyServer, RefusesToReplaceAFileThatIsNotALink)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    PtyServer server;
    EXPECT_FALSE(server.start(path));
    EXPECT_FALSE(server.errorString().isEmpty());
    EXPECT_FALSE(QFileInfo(path).isSymLink());
}

TEST(PtyServer, WithoutALinkTheDeviceIsThePtyAndStopRemovesTheLink)
{
    PtyServer bare;
    bare.line().addUnit(1);
    ASSERT_TRUE(bare.start());
    EXPECT_EQ(bare.devicePath(), bare.slavePath());
    Host host(bare.devicePath());
    host.write(kConnect1);
    EXPECT_EQ(host.read(26, 2000).size(), 26);

    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("l"));
    {
        PtyServer linked;
        ASSERT_TRUE(linked.start(link));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the destructor stops and removes the link";
}

#ifdef T16_SIM_EXE
TEST(SimExecutable, ServesSeveralUnitsLogsFramesAndStopsOnSigterm)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("sim"));
    const QString log = dir.filePath(QStringLiteral("frames.log"));
    QProcess sim;
    sim.start(QStringLiteral(T16_SIM_EXE), {QStringLiteral("--unit"), QStringLiteral("1"), QStringLiteral("--unit"),
                                            QStringLiteral("5"), QStringLiteral("--model"), QStringLiteral("4x4"),
                                            QStringLiteral("--link"), link, QStringLiteral("--log"), log});
    ASSERT_TRUE(sim.waitForStarted(5000));
    QByteArray ready;
    while (!ready.contains('\n') && sim.waitForReadyRead(5000))
        ready += sim.readAllStandardOutput();
    EXPECT_EQ(ready.trimmed(), "ready " + link.toLocal8Bit());

    {
        Host host(link);
        ASSERT_TRUE(host.ok());
        host.write(QByteArray::fromHex("41526305e70103017b6ca8b9c3")); // search probe to 5
        EXPECT_EQ(parse(host.read(26, 2000)).address, 5);
        host.write(wire(3, 231, 1, 3, bytes({123}))); // nobody at 3
        EXPECT_TRUE(host.read(1, 200).isEmpty());
        host.write(wire(1, 204, 0, 0, bytes({2})));
        const ParsedReply r = parse(host.read(26, 2000));
        EXPECT_EQ(r.address, 1);
        EXPECT_EQ(std::uint8_t(r.data[1]), 3) << "the model given on the command line";
    }

    // SIGUSR1 hangs the line up: an open host fails, a new open works.
    {
        Host held(link);
        ASSERT_TRUE(held.ok());
        ::kill(pid_t(sim.processId()), SIGUSR1);
        bool failed = false;
        held.read(1, 3000, &failed);
        EXPECT_TRUE(failed);
    }
    {
        Host host(link, 2000);
        ASSERT_TRUE(host.ok());
        host.write(wire(1, 231, 1, 0, bytes({123})));
        EXPECT_EQ(parse(host.read(26, 2000)).address, 1);
    }

    ::kill(pid_t(sim.processId()), SIGTERM);
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].contains("addr=5 cmd=231 sel=1 ch=3 payload=[7B]")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("reply=[F5 FA F7 05")) << lines[0].toStdString();
}

TEST(SimExecutable, RejectsBadUsage)
{
    QProcess sim;
    for (const QStringList& args : {QStringList{QStringLiteral("--unit"), QStringLiteral("300")},
                                    QStringList{QStringLiteral("--model"), QStringLiteral("5x5")},
                                    QStringList{QStringLiteral("--loss"), QStringLiteral("2")},
                                    QStringList{QStringLiteral("--no-such-option")}}) {
        sim.start(QStringLiteral(T16_SIM_EXE), args);
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitCode(), 2) << args.join(' ').toStdString();
    }
}
#endif
