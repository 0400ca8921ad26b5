// The designer's File menu and toolbar with the memory window, the preset commands and the close
// question, as the main window wires them (offscreen, the virtual unit on a pty behind it).
#include "model/MatrixImageCodec.h"
#include "programs/widgets/MemoryWindow.h"
#include "shell/MainWindow.h"
#include "shell/ShellTestSupport.h"
#include "sim/PtyServer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct DesignerPrograms : ::testing::Test {
    SettingsSandbox settings;
    RecordingHelpViewer viewer;
    PtyServer server;
    QTemporaryDir files;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        server.withLine([](SimLine& line) { line.addUnit(1); });
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
    QToolButton* toolButton(const QString& name) { return byName<QToolButton>(window.get(), name); }
    MatrixImage settingsImage() { return BuildMatrixImage(window->session().store.params, window->session().store.model); }
    // Types `path` into the open or save dialog on screen and confirms it.
    static void chooseFile(QWidget* modal, const QString& path)
    {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        auto* box = dialog->findChild<QDialogButtonBox*>();
        QPushButton* accept = box->button(QDialogButtonBox::Open);
        if (!accept)
            accept = box->button(QDialogButtonBox::Save);
        accept->click();
    }
};

} // namespace

TEST_F(DesignerPrograms, MemoryOpensTheMemoryWindowOnlyForAConnectedUnlockedUnit)
{
    QToolButton* memory = toolButton(QStringLiteral("Memory"));
    ASSERT_NE(memory, nullptr);
    LinkState& link = window->session().link;

    link.LinkConnected = kSet;
    link.LockState = 129;
    memory->click();
    actionByText(window.get(), QStringLiteral("Memory..."))->trigger();
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(window->memoryWindow()->isVisible());

    link.LockState = 0;
    QString opened;
    whenModal([&](QWidget* modal) {
        opened = modal->objectName() + QLatin1Char('|') + modal->windowTitle();
        byName<QPushButton>(modal, QStringLiteral("OK"))->click();
    });
    memory->click();
    EXPECT_EQ(opened, QStringLiteral("Form38|Memory precinct"));
    EXPECT_FALSE(window->memoryWindow()->isVisible());
}

TEST_F(DesignerPrograms, OpeningAFileOf1601BytesSaysFileIsErrorAndKeepsTheSettings)
{
    window->session().store.params.delay[2] = 321;
    const MatrixImage before = settingsImage();
    const QString path = files.filePath(QStringLiteral("long.T16"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1601, '\x01'));
    }
    SeenMessage message;
    whenModal([&](QWidget* modal) {
        whenModal([&](QWidget* box) { message = takeMessage(box); }, modal);
        chooseFile(modal, path);
    });
    toolButton(QStringLiteral("Open"))->click();
    EXPECT_EQ(message.text, QStringLiteral("File is Error!"));
    EXPECT_EQ(message.title, QStringLiteral("Open File"));
    EXPECT_EQ(settingsImage(), before);
    EXPECT_EQ(window->session().link.PendingFrames.load(), 0);
}

TEST_F(DesignerPrograms, TheCloseQuestionKeepsTheDesignerOpenUnlessTheChangesAreSavedOrDropped)
{
    window->session().link.SettingsModified = kSet;
    QSignalSpy finished(window.get(), &MainWindow::shutdownFinished);

    // Yes, then the save dialog is cancelled: the designer stays.
    SeenMessage question;
    whenModal([&](QWidget* box) {
        question.text = qobject_cast<QMessageBox*>(box)->text();
        question.title = box->windowTitle();
        whenModal([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); }, box);
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
    });
    window->close();
    QTest::qWait(300);
    EXPECT_EQ(question.text, QStringLiteral("Exit this program,Save the change to a file?"));
    EXPECT_EQ(question.title, QStringLiteral("TOLVAN Designer"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(finished.count(), 0);

    // Yes and a file: saved, then closed.
    const QString path = files.filePath(QStringLiteral("on-exit"));
    whenModal([&](QWidget* box) {
        whenModal([&](QWidget* dialog) { chooseFile(dialog, path); }, box);
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
    });
    window->close();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
    QFile saved(path + QStringLiteral(".T16"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.size(), 1600);
}
