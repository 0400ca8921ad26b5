// tolvan16ctl's online commands, run as the built program against virtual units served on a
// pseudo-terminal by this test. The search loop itself (about 41 s a quarter) is tested on the
// virtual clock.
#include "model/MatrixImageCodec.h"
#include "sim/PtyServer.h"
#include "sim/UnitImage.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef T16_CTL_PATH

namespace {

struct CtlRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct CtlOnline : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(server.start(dir.filePath("line"))) << server.errorString().toStdString();
    }
    VirtualUnit& addUnit(int address, int modelCode)
    {
        VirtualUnit* u = nullptr;
        server.withLine([&](SimLine& l) {
            u = &l.addUnit(std::uint8_t(address));
            u->setModel(DeviceModel::fromCode(modelCode));
        });
        return *u;
    }
    CtlRun run(QStringList args, bool withPort = true)
    {
        if (withPort)
            args << "--port" << server.devicePath();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(T16_CTL_PATH), args);
        CtlRun r;
        if (!p.waitForFinished(60000))
            return r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }
    std::vector<SimFrame> frames(int command, int selector = -1)
    {
        std::vector<SimFrame> out;
        for (const SimFrame& f : server.line().frames())
            if (f.valid && f.command == command && (selector < 0 || f.selector == selector))
                out.push_back(f);
        return out;
    }
    // Every online command ends with the Disconnect: its frame twice, the last one on the line.
    void expectClosingDisconnect()
    {
        const auto all = server.line().frames();
        ASSERT_GE(all.size(), 2u);
        const SimFrame& last = all.back();
        const SimFrame& before = all[all.size() - 2];
        EXPECT_EQ(last.command, 230);
        EXPECT_EQ(last.selector, 80);
        EXPECT_EQ(before.command, 230);
        EXPECT_EQ(before.selector, 80);
    }
};

TEST_F(CtlOnline, PullWritesExactlyWhatA16x16UnitRuns)
{
    VirtualUnit& u = addUnit(1, 11);
    MatrixImage running = UnitImage::plainDefault(u.model());
    for (int i = 64; i < 1600; i += 29)
        running[std::size_t(i)] = std::uint8_t(i * 5);
    server.withLine([&](SimLine&) { u.running() = running; });

    const QString file = dir.filePath("pulled.T16");
    const CtlRun r = run({"pull", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 1600);
    EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(running.data()), 1600));
    const auto reads = frames(204, 0);
    ASSERT_EQ(reads.size(), 100u);
    EXPECT_EQ(reads.back().payload, QByteArray(1, char(100)));
    expectClosingDisconnect();
}

TEST_F(CtlOnline, PullFromASilentUnitFailsAndWritesNoFile)
{
    addUnit(1, 3);
    SimFaults silent;
    silent.silent = true;
    server.withLine([&](SimLine& l) { l.setFaults(silent); });
    const QString file = dir.filePath("none.T16");
    const CtlRun r = run({"pull", file, "--model", "4x4"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no answer")) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << "one line";
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(frames(230, 100).size(), 10u);
}

TEST_F(CtlOnline, PushStoresAPresetUnderTheNameRuleAndProgramsListsIt)
{
    VirtualUnit& u = addUnit(4, 3);
    MatrixImage preset = UnitImage::plainDefault(u.model());
    preset[100] = 0x5C;
    const QString file = dir.filePath("in.T16");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(preset.data()), 1600);
    }
    const CtlRun push = run({"push", file, "--program", "5", "--name", "Hi", "--address", "4", "--model", "4x4"});
    ASSERT_EQ(push.exitCode, 0) << push.err.toStdString();
    MatrixImage stored{};
    bool present = false;
    server.withLine([&](SimLine&) {
        stored = u.program(5).image;
        present = u.program(5).present;
    });
    ASSERT_TRUE(present);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(stored.data()), 12), QByteArray("Hi          "));
    EXPECT_EQ(stored[12], 128);
    EXPECT_EQ(stored[100], 0x5C);
    const auto commits = frames(206);
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0].payload, QByteArray::fromHex("0705"));
    expectClosingDisconnect();

    const CtlRun list = run({"programs", "--address", "4", "--model", "4x4"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QList<QByteArray> lines = list.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], "1 empty");
    EXPECT_EQ(lines[4].trimmed(), "5 in-use Hi");
    EXPECT_EQ(lines[15], "16 empty");
}

TEST_F(CtlOnline, CommandsWithoutAnAnsweringUnitEndWithExit1)
{
    addUnit(1, 11);
    const CtlRun r = run({"programs", "--address", "9"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("no answer from the unit at address 9")) << r.err.toStdString();
    // The quick connect went out, and the Disconnect found sending already off: nothing more.
    EXPECT_EQ(frames(230, 100).size(), 1u);
    EXPECT_TRUE(frames(204).empty());
}

TEST_F(CtlOnline, LockAndUnlock)
{
    VirtualUnit& u = addUnit(1, 11);
    const CtlRun lock = run({"lock", "--level", "change+mute", "--password", "ab"});
    ASSERT_EQ(lock.exitCode, 0) << lock.err.toStdString();
    std::uint8_t state = 0;
    server.withLine([&](SimLine&) { state = u.lockState; });
    EXPECT_EQ(state, 132);
    EXPECT_EQ(frames(235).front().payload, QByteArray("ab  "));

    const CtlRun wrong = run({"unlock", "--password", "zz"});
    EXPECT_EQ(wrong.exitCode, 1);
    const CtlRun right = run({"unlock", "--password", "ab"});
    EXPECT_EQ(right.exitCode, 0) << right.err.toStdString();
    server.withLine([&](SimLine&) { state = u.lockState; });
    EXPECT_EQ(state, 0);
}

TEST_F(CtlOnline, BadUsageIsExit2WithOneLineAndNothingOnTheLine)
{
    const QString shortFile = dir.filePath("short.T16");
    {
        QFile f(shortFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1599, '\0'));
    }
    const QList<QStringList> cases = {
        {"push", shortFile, "--program", "1"},
        {"push", shortFile},
        {"recall", "17"},
        {"delete", "none"},
        {"lock", "--level", "total", "--password", "x"},
        {"unlock"},
        {"search", "--range", "1-100"},
        {"banner", "only one line"},
        {"programs", "--address", "300"},
        {"programs", "--port", "COM121"},
    };
    for (const QStringList& args : cases) {
        const CtlRun r = run(args, !args.contains("--port"));
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << args.join(' ').toStdString();
    }
    EXPECT_EQ(server.line().frameCount(), 0u);
}

} // namespace

#endif
