// Closing the designer, or SIGTERM, while a procedure runs: the procedure ends at its next wait,
// the disconnect goes out, and no frame is left half-written on the line.
#include "platform/TerminationSignal.h"
#include "shell/ConnectDialog.h"
#include "shell/MainWindow.h"
#include "shell/ShellTestSupport.h"
#include "sim/PtyServer.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSpinBox>
#include <csignal>
#include <gtest/gtest.h>

namespace {

struct Shutdown : ::testing::Test {
    SettingsSandbox settings;
    RecordingHelpViewer viewer;
    PtyServer server;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        server.withLine([](SimLine& line) { line.addUnit(1).setModel(DeviceModel::fromCode(3)); });
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
        StartupOptions o;
        o.virtualUnitPath = server.devicePath();
        window = std::make_unique<MainWindow>(o, viewer);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        cancelModalWatchers();
        window.reset();
    }
    // Every frame the unit saw, once the designer is gone (its writer has drained by then).
    std::vector<SimFrame> framesAfterExit()
    {
        window.reset();
        return server.line().frames();
    }
    static int count(const std::vector<SimFrame>& frames, int command, int selector)
    {
        int n = 0;
        for (const auto& f : frames)
            n += f.valid && f.command == command && f.selector == selector;
        return n;
    }
};

TEST_F(Shutdown, ClosingDuringAConnectToASilentUnitEndsItAndDisconnects)
{
    server.withLine([](SimLine& line) { line.unit(1)->faults().silent = true; });
    QSignalSpy finished(window.get(), &MainWindow::shutdownFinished);
    whenModal([&](QWidget* modal) {
        QTimer::singleShot(800, window.get(), [&] { window->close(); });
        byName<QAbstractButton>(modal, QStringLiteral("Connect"))->click();
    });
    actionByText(window.get(), QStringLiteral("Connect"))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->connectDialog()->isVisible());

    const auto frames = framesAfterExit();
    ASSERT_FALSE(frames.empty());
    for (const auto& f : frames)
        EXPECT_TRUE(f.valid) << "command " << int(f.command);
    // Ten attempts would have taken more than 3.5 s; the close ended them after a few.
    EXPECT_GE(count(frames, 230, 100), 1);
    EXPECT_LT(count(frames, 230, 100), 10);
    // Sending was on (the attempts had enabled it): the disconnect frame went out twice, last.
    EXPECT_EQ(count(frames, 230, 80), 2);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[frames.size() - 1].selector, 80);
    EXPECT_EQ(frames[frames.size() - 2].selector, 80);
}

TEST_F(Shutdown, SigtermDuringASearchEndsItAtItsNextWait)
{
    TerminationSignal termination;
    ASSERT_TRUE(termination.installed());
    QObject::connect(&termination, &TerminationSignal::received, window.get(),
                     [this](int) { window->requestShutdown(MainWindow::CloseReason::Signal); });
    window->session().command.Address = 9;
    QSignalSpy finished(window.get(), &MainWindow::shutdownFinished);
    whenModal([&](QWidget* modal) {
        QTimer::singleShot(900, [] { ::raise(SIGTERM); });
        byName<QAbstractButton>(modal, QStringLiteral("Search"))->click();
    });
    actionByText(window.get(), QStringLiteral("Search... "))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    EXPECT_EQ(window->session().command.Address, 9);

    const auto frames = framesAfterExit();
    for (const auto& f : frames)
        EXPECT_TRUE(f.valid) << "command " << int(f.command);
    // About 0.7 s per address: the search had reached address 2 or 3 of 64.
    int lastProbe = 0;
    for (const auto& f : frames) {
        if (f.command == 231)
            lastProbe = std::max(lastProbe, int(f.address));
    }
    EXPECT_GE(lastProbe, 1);
    EXPECT_LE(lastProbe, 4);
}

TEST_F(Shutdown, TheCloseQuestionCanKeepTheWindowOpenButASignalSkipsIt)
{
    int asked = 0;
    bool answer = false;
    window->setCloseQuestion([&] {
        ++asked;
        return answer;
    });
    QSignalSpy finished(window.get(), &MainWindow::shutdownFinished);
    window->close();
    QTRY_COMPARE_WITH_TIMEOUT(asked, 1, 2000);
    QTest::qWait(50);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_FALSE(window->shuttingDown());

    window->requestShutdown(MainWindow::CloseReason::Signal);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window->isVisible());
    // Sending was off: nothing went out.
    EXPECT_EQ(count(framesAfterExit(), 230, 80), 0);
}

TEST(DesignerProcess, SigtermEndsTheProcessCleanly)
{
    const QString exe = QCoreApplication::applicationDirPath() + QStringLiteral("/../../src/shell/tolvan16-designer");
    ASSERT_TRUE(QFileInfo::exists(exe)) << exe.toStdString();
    QTemporaryDir config;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    p.setProcessEnvironment(env);
    p.start(exe, {QStringLiteral("--virtual-unit")});
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray err;
    for (int i = 0; i < 100 && !err.contains("virtual unit"); ++i) {
        p.waitForReadyRead(100);
        err += p.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("virtual unit")) << err.toStdString();
    QTest::qWait(300);
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
}

} // namespace
