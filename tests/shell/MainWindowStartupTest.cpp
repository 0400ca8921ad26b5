// Start-up, configuration, menus, toolbar, status bar, layout timer, help, hot keys and About,
// without a unit.
#include "editor/widgets/Form34.h"
#include "shell/AboutDialog.h"
#include "shell/ConnectDialog.h"
#include "shell/BannerDialog.h"
#include "shell/HelpCommand.h"
#include "shell/LockDialog.h"
#include "shell/MainWindow.h"
#include "shell/OnlineLed.h"
#include "shell/ShellTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct MainWindowStartup : ::testing::Test {
    SettingsSandbox settings;
    RecordingHelpViewer viewer;
    std::unique_ptr<MainWindow> window;

    void TearDown() override
    {
        cancelModalWatchers();
        window.reset();
    }
    void start(StartupOptions options = {})
    {
        window = std::make_unique<MainWindow>(options, viewer);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QStringList menuItems(const QString& title)
    {
        QStringList out;
        for (QAction* top : window->menuBar()->actions()) {
            if (top->text() != title)
                continue;
            for (QAction* a : top->menu()->actions())
                out << (a->isSeparator() ? QStringLiteral("|") : a->text());
        }
        return out;
    }
};

TEST_F(MainWindowStartup, FirstRunUses4x4AndPort1AndLeavesTheKeysWritten)
{
    ASSERT_FALSE(QFile::exists(settings.userFile()));
    start();
    const DeviceModel& m = window->session().store.model;
    EXPECT_EQ(m.code, 3);
    EXPECT_EQ(m.inputs, 4);
    EXPECT_EQ(m.outputs, 4);
    EXPECT_EQ(window->ports().portNumber(), 1);
    EXPECT_EQ(SettingsSandbox::value("FORM_COUNT/FORM_COUNT").toInt(), 3);
    EXPECT_EQ(SettingsSandbox::value("PATH/RS232").toInt(), 1);
    // No configuration carries a check mark at start-up.
    for (int code = 3; code <= 11; ++code)
        EXPECT_FALSE(window->configurationAction(code)->isChecked()) << code;
}

struct StoredModelCase {
    QVariant stored;
    int started;
    int writtenBack;
};

class StoredModel : public MainWindowStartup, public ::testing::WithParamInterface<StoredModelCase> {};

TEST_P(StoredModel, StartsWithTheLimitedCodeAndWritesItBack)
{
    SettingsSandbox::setValue("FORM_COUNT/FORM_COUNT", GetParam().stored);
    start();
    EXPECT_EQ(window->session().store.model.code, GetParam().started);
    EXPECT_EQ(SettingsSandbox::value("FORM_COUNT/FORM_COUNT").toInt(), GetParam().writtenBack);
}

INSTANTIATE_TEST_SUITE_P(Codes, StoredModel,
                         ::testing::Values(StoredModelCase{0, 3, 3}, StoredModelCase{1, 3, 3}, StoredModelCase{2, 3, 3},
                                           StoredModelCase{7, 7, 7}, StoredModelCase{11, 11, 11},
                                           StoredModelCase{15, 11, 11}, StoredModelCase{QStringLiteral("x"), 3, 3}));

TEST_F(MainWindowStartup, StoredFifteenStartsAs16x16)
{
    SettingsSandbox::setValue("FORM_COUNT/FORM_COUNT", 15);
    start();
    EXPECT_EQ(window->session().store.model.inputs, 16);
    EXPECT_EQ(window->session().store.model.outputs, 16);
}

TEST_F(MainWindowStartup, OptionsItemChecksOnlyItselfAndIsStoredAtOnce)
{
    start();
    QSignalSpy changed(window.get(), &MainWindow::configurationChanged);
    actionByText(window.get(), QStringLiteral("8*4"))->trigger();
    EXPECT_EQ(window->session().store.model.code, 6);
    EXPECT_EQ(window->session().store.model.inputs, 8);
    EXPECT_EQ(window->session().store.model.outputs, 4);
    EXPECT_EQ(SettingsSandbox::value("FORM_COUNT/FORM_COUNT").toInt(), 6);
    for (int code = 3; code <= 11; ++code)
        EXPECT_EQ(window->configurationAction(code)->isChecked(), code == 6) << code;

    actionByText(window.get(), QStringLiteral("16*16"))->trigger();
    actionByText(window.get(), QStringLiteral("16*16"))->trigger(); // choosing it again keeps it checked
    for (int code = 3; code <= 11; ++code)
        EXPECT_EQ(window->configurationAction(code)->isChecked(), code == 11) << code;
    EXPECT_EQ(SettingsSandbox::value("FORM_COUNT/FORM_COUNT").toInt(), 11);
    ASSERT_GE(changed.count(), 2);
    EXPECT_EQ(changed.last().at(0).toInt(), 11);
}

TEST_F(MainWindowStartup, MenusToolbarAndStatusBarCarryTheirTexts)
{
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("TOLVAN Desinger V1.0A"));
    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"File", "Options", "Tools", "Help"}));
    EXPECT_EQ(menuItems("File"), (QStringList{"New", "Open...", "Save...", "|", "Memory...", "|", "Exit"}));
    EXPECT_EQ(menuItems("Options"),
              (QStringList{"4*4", "4*8", "4*16", "8*4", "8*8", "8*16", "16*4", "16*8", "16*16"}));
    EXPECT_EQ(menuItems("Tools"),
              (QStringList{"COM Setup...", "Search... ", "|", "Connect", "Disconnect", "|", "Lock", "UnLock"}));
    EXPECT_EQ(menuItems("Help"), (QStringList{"Content", "About..."}));
    EXPECT_TRUE(actionByText(window.get(), "Lock")->isEnabled());
    EXPECT_FALSE(actionByText(window.get(), "UnLock")->isEnabled());

    auto* bar = window->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    QStringList hints;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            hints << QStringLiteral("|");
            continue;
        }
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->accessibleName(), a->toolTip());
        EXPECT_FALSE(button->icon().isNull());
        hints << a->toolTip();
    }
    EXPECT_EQ(hints, (QStringList{"New", "Open", "Save", "|", "Connect", "Disconnect", "|", "Memory", "|", "About",
                                  "Exit"}));

    EXPECT_EQ(window->panel4Text(), QStringLiteral("OFFLINE"));
    EXPECT_EQ(window->onlineLed()->value(), 0);
    EXPECT_EQ(window->progress(), 0);
    auto* gauge = window->findChild<QProgressBar*>(QStringLiteral("progst1"));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->minimum(), 0);
    EXPECT_EQ(gauge->maximum(), 100);
    EXPECT_FALSE(window->lockPicture()->isVisible());
    // Only the main window is on screen.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_TRUE(w == window.get() || !w->isVisible()) << w->objectName().toStdString();
}

TEST_F(MainWindowStartup, ToolbarButtonDoesWhatItsMenuItemDoes)
{
    start();
    auto* bar = window->findChild<QToolBar*>();
    auto* aboutButton = byName<QToolButton>(bar, QStringLiteral("About"));
    ASSERT_NE(aboutButton, nullptr);
    QString caption;
    QSize size;
    whenModal([&](QWidget* modal) {
        caption = modal->windowTitle();
        size = modal->size();
        static_cast<QDialog*>(modal)->reject();
    });
    aboutButton->click();
    EXPECT_EQ(caption, QStringLiteral("About"));
    EXPECT_EQ(size, QSize(311, 174));
}

TEST_F(MainWindowStartup, AboutBoxTexts)
{
    start();
    AboutDialog* about = window->aboutDialog();
    QString okText;
    bool okFound = false;
    whenModal([&](QWidget* modal) {
        auto* ok = byName<QAbstractButton>(modal, QStringLiteral("OK"));
        okFound = ok != nullptr;
        if (ok) {
            okText = ok->text();
            ok->click();
        }
    });
    actionByText(window.get(), QStringLiteral("About..."))->trigger();
    EXPECT_TRUE(okFound);
    EXPECT_EQ(okText, QStringLiteral("OK"));
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about->titleText(), QStringLiteral("TOLVAN Desinger"));
    EXPECT_EQ(about->versionText(), QStringLiteral("Version:1.0A"));
    EXPECT_EQ(about->revisionText(), QStringLiteral("Rev. 06061901"));
    EXPECT_EQ(about->dateText(), QStringLiteral("2006-06"));
    EXPECT_FALSE(about->isVisible());
}

TEST_F(MainWindowStartup, LayoutTimerKeepsThePanelAtWindowSizeLess20By120)
{
    start();
    window->resize(900, 650);
    QTRY_COMPARE_WITH_TIMEOUT(window->layoutPanel()->size(), QSize(880, 530), 1000);
    window->resize(1200, 800);
    QTRY_COMPARE_WITH_TIMEOUT(window->layoutPanel()->size(), QSize(1180, 680), 1000);
    // The panel stays inside the client area.
    const QRect client = window->centralWidget()->rect();
    EXPECT_TRUE(client.contains(window->layoutPanel()->geometry()));
}

struct HelpCase {
    bool inWorkingDir;
    bool inInstallDir;
    bool viewerAvailable;
    const char* expectFrom; // "work", "install" or "" (nothing handed over)
    bool expectWarning;
};

class HelpContent : public MainWindowStartup, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(HelpContent, HandsTheRightFileOrWarns)
{
    const HelpCase c = GetParam();
    QTemporaryDir work, install;
    auto place = [](const QTemporaryDir& d) {
        QFile f(d.filePath(HelpCommand::fileName()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("help");
    };
    if (c.inWorkingDir)
        place(work);
    if (c.inInstallDir)
        place(install);
    SettingsSandbox::setValue("PATH/installpath", install.path());
    viewer.available = c.viewerAvailable;
    const QString before = QDir::currentPath();
    QDir::setCurrent(work.path());
    start();

    SeenMessage seen;
    bool sawBox = false;
    if (c.expectWarning) {
        whenModal([&](QWidget* m) {
            sawBox = true;
            seen = takeMessage(m);
        });
    }
    actionByText(window.get(), QStringLiteral("Content"))->trigger();
    QApplication::processEvents();
    QDir::setCurrent(before);

    if (*c.expectFrom == 0) {
        EXPECT_TRUE(viewer.shown.isEmpty());
    } else {
        ASSERT_EQ(viewer.shown.size(), 1);
        const QString dir = QString::fromLatin1(c.expectFrom) == "work" ? work.path() : install.path();
        EXPECT_EQ(QFileInfo(viewer.shown[0]).canonicalPath(), QFileInfo(dir).canonicalFilePath());
    }
    EXPECT_EQ(sawBox, c.expectWarning);
    if (c.expectWarning) {
        EXPECT_EQ(seen.title, QStringLiteral("TOLVAN Designer"));
        EXPECT_EQ(seen.text, QStringLiteral("Can not open TOLVAN_designer_V10A.chm."));
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HelpContent,
                         ::testing::Values(HelpCase{true, true, true, "work", false},
                                           HelpCase{false, true, true, "install", false},
                                           HelpCase{true, false, true, "work", false},
                                           HelpCase{false, false, true, "", true},
                                           HelpCase{true, true, false, "", false}));

TEST_F(MainWindowStartup, BannerHotKeyWorksOnlyWhileTheConnectDialogIsOnScreen)
{
    start();
    const QKeyCombination hotKey(Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, Qt::Key_0);
    bool bannerOpened = false;
    auto watchBanner = [&] {
        whenModal(
            [&](QWidget* modal) {
                if (modal == window->bannerDialog()) {
                    bannerOpened = true;
                    window->bannerDialog()->reject();
                }
            },
            window->connectDialog(), 500);
    };

    // Connect dialog closed: nothing.
    watchBanner();
    window->activateWindow();
    QTest::keyClick(window.get(), hotKey.key(), hotKey.keyboardModifiers());
    QTest::qWait(100);
    EXPECT_FALSE(bannerOpened);

    // Connect dialog on screen, as Tools > Connect shows it.
    ConnectDialog* connect = window->connectDialog();
    whenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, connect);
        watchBanner();
        QTest::keyClick(modal, hotKey.key(), hotKey.keyboardModifiers());
        connect->reject();
    });
    connect->exec();
    EXPECT_TRUE(bannerOpened);
}

TEST_F(MainWindowStartup, LimiterHoldKeyReachesTheEditorOnlyWhileItIsVisible)
{
    start();
    Form34* editor = window->ensureEditor();
    ASSERT_NE(editor, nullptr);
    const auto mods = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
    QTest::keyClick(window.get(), Qt::Key_L, mods);
    EXPECT_FALSE(editor->holdRowRevealed());

    editor->openAt(0, 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    QTest::keyClick(editor, Qt::Key_L, mods);
    EXPECT_TRUE(editor->holdRowRevealed());
    editor->reject();
}

TEST_F(MainWindowStartup, ConnectDialogControlsAndSizes)
{
    start();
    ConnectDialog* d = window->connectDialog();
    d->show();
    QApplication::processEvents();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Connect"));
    EXPECT_EQ(d->width(), 395);
    auto* group = d->findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->width(), 374);
    auto* address = byName<QSpinBox>(d, QStringLiteral("Address"));
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->minimum(), 1);
    EXPECT_EQ(address->maximum(), 255);
    EXPECT_EQ(address->value(), 1);
    for (const char* caption : {"Connect", "Disconnect", "Quick Connect", "Cancel"}) {
        auto* b = byName<QAbstractButton>(d, QString::fromLatin1(caption));
        ASSERT_NE(b, nullptr) << caption;
        EXPECT_EQ(b->text(), QString::fromLatin1(caption));
        // Nothing is cut off at the fixed width.
        EXPECT_GE(b->width(), b->sizeHint().width()) << caption;
    }
    address->setValue(42);
    EXPECT_EQ(window->link().addressBox(), 42);
    d->reject();
}

TEST_F(MainWindowStartup, LockDialogShapeFollowsTheConfigurationAndKeepsTheLevel)
{
    start();
    LockDialog* d = window->lockDialog();
    d->show();
    QApplication::processEvents();
    EXPECT_EQ(d->height(), 140); // 4*4: no level choices
    auto* change = byName<QRadioButton>(d, QStringLiteral("Change"));
    ASSERT_NE(change, nullptr);
    EXPECT_FALSE(change->isVisible());
    EXPECT_TRUE(change->isChecked());
    d->reject();

    window->selectConfiguration(11);
    d->show();
    QApplication::processEvents();
    EXPECT_EQ(d->height(), 210);
    EXPECT_TRUE(change->isVisible());
    QStringList levels;
    for (auto* r : d->findChildren<QRadioButton*>())
        levels << r->text();
    EXPECT_EQ(levels, (QStringList{"Change", "Change+View", "Change+Mute", "Everthing "}));
    byName<QRadioButton>(d, QStringLiteral("Change+Mute"))->setChecked(true);
    auto* password = byName<QLineEdit>(d, QStringLiteral("Password"));
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(password->maxLength(), 4);
    QTest::keyClicks(password, QStringLiteral("ab"));
    d->reject();

    d->show();
    QApplication::processEvents();
    EXPECT_EQ(password->text(), QString()); // emptied on every show
    EXPECT_EQ(d->selectedLevel(), LockProcedures::Level::ChangeMute);
    d->reject();
}

TEST_F(MainWindowStartup, PasswordBoxDropsNonAsciiOnceItHoldsTwoCharacters)
{
    start();
    LockDialog* d = window->lockDialog();
    d->show();
    auto* password = byName<QLineEdit>(d, QStringLiteral("Password"));
    ASSERT_NE(password, nullptr);
    password->setText(QString(QChar(0xE9)));
    EXPECT_EQ(password->text(), QString(QChar(0xE9))); // a single character is left alone
    password->setText(QStringLiteral("a") + QChar(0xE9) + QStringLiteral("b"));
    EXPECT_EQ(password->text(), QStringLiteral("ab"));
    d->reject();
}

TEST_F(MainWindowStartup, BannerDialogPresetsAndLimits)
{
    start();
    BannerDialog* d = window->bannerDialog();
    auto* line1 = byName<QLineEdit>(d, QStringLiteral("Banner line 1"));
    auto* line2 = byName<QLineEdit>(d, QStringLiteral("Banner line 2"));
    ASSERT_NE(line1, nullptr);
    ASSERT_NE(line2, nullptr);
    EXPECT_EQ(line1->text(), QStringLiteral("    PROFESSIONAL     "));
    EXPECT_EQ(line2->text(), QStringLiteral("   DSP AMPLIFIER   "));
    EXPECT_EQ(line1->maxLength(), 23);
    EXPECT_EQ(line2->maxLength(), 23);
    EXPECT_NE(byName<QAbstractButton>(d, QStringLiteral("SEND")), nullptr);
    EXPECT_NE(byName<QAbstractButton>(d, QStringLiteral("OK")), nullptr);
    EXPECT_EQ(d->progress(), 0);
}

} // namespace
