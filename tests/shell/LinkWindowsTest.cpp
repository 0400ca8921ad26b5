// The Connect, COM Setup, Lock and Unlock windows against the virtual unit over a real
// pseudo-terminal, in real time.
#include "link/PortSettings.h"
#include "shell/ComSetupDialog.h"
#include "shell/ConnectDialog.h"
#include "shell/LockDialog.h"
#include "shell/MainWindow.h"
#include "shell/OnlineLed.h"
#include "shell/ShellTestSupport.h"
#include "shell/UnlockDialog.h"
#include "sim/PtyServer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

struct LinkWindows : ::testing::Test {
    SettingsSandbox settings;
    RecordingHelpViewer viewer;
    PtyServer server;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        server.withLine([](SimLine& line) { line.addUnit(1).setModel(DeviceModel::fromCode(3)); });
        ASSERT_TRUE(server.start()) << server.errorString().toStdString();
    }
    void TearDown() override
    {
        cancelModalWatchers();
        window.reset();
    }

    void start(StartupOptions options)
    {
        window = std::make_unique<MainWindow>(options, viewer);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void startOnUnit()
    {
        StartupOptions o;
        o.virtualUnitPath = server.devicePath();
        start(o);
    }
    QAction* menu(const char* text) { return actionByText(window.get(), QString::fromLatin1(text)); }

    // Tools > Connect, then the dialog's button `caption`.
    void connectWith(const char* caption, int address = 1)
    {
        whenModal([=](QWidget* modal) {
            ASSERT_EQ(modal, window->connectDialog());
            byName<QSpinBox>(modal, QStringLiteral("Address"))->setValue(address);
            byName<QAbstractButton>(modal, QString::fromLatin1(caption))->click();
            // A dialog left open by a failed attempt is closed by the test.
            if (modal->isVisible())
                static_cast<QDialog*>(modal)->reject();
        });
        menu("Connect")->trigger();
    }
    int validFrames(int command, int selector)
    {
        int n = 0;
        for (const SimFrame& f : server.line().frames())
            n += f.valid && f.command == command && f.selector == selector;
        return n;
    }
};

TEST_F(LinkWindows, ConnectEndsOnlineWithTheFullPieAndDisconnectReturnsOffline)
{
    startOnUnit();
    connectWith("Connect");
    EXPECT_FALSE(window->connectDialog()->isVisible());
    EXPECT_EQ(window->panel4Text(), QStringLiteral("ONLINE"));
    EXPECT_EQ(window->onlineLed()->value(), 100);
    EXPECT_EQ(window->session().link.LinkConnected, kSet);
    EXPECT_EQ(window->progress(), 0);
    // The whole 4*4 image was read: chunks 1..28.
    EXPECT_EQ(window->session().reply.KeyedReplies[28].Count, 16);
    QTRY_COMPARE_WITH_TIMEOUT(window->activityText(), QStringLiteral("  1:Finish..."), 2000);

    menu("Disconnect")->trigger();
    EXPECT_EQ(window->panel4Text(), QStringLiteral("OFFLINE"));
    EXPECT_EQ(window->onlineLed()->value(), 0);
    EXPECT_EQ(window->session().link.LinkConnected, 0);
    QTRY_COMPARE_WITH_TIMEOUT(validFrames(230, 80), 2, 3000);
}

TEST_F(LinkWindows, LockedUnitShowsTheLockPictureAndDisablesTheLayoutPanel)
{
    server.withLine([](SimLine& line) { line.unit(1)->lockState = 129; });
    startOnUnit();
    EXPECT_EQ(window->linkStatusTimer().interval(), 50);
    EXPECT_TRUE(window->linkStatusTimer().isActive());
    EXPECT_FALSE(window->lockPicture()->isVisible());
    connectWith("Quick Connect");
    EXPECT_EQ(window->panel4Text(), QStringLiteral("ONLINE"));
    EXPECT_EQ(window->session().link.LockState, 129);
    // The link status timer shows it on its next tick.
    QTRY_VERIFY_WITH_TIMEOUT(window->lockPicture()->isVisible(), 1000);
    EXPECT_FALSE(window->layoutPanel()->isEnabled());
    EXPECT_FALSE(menu("Lock")->isEnabled());
    EXPECT_TRUE(menu("UnLock")->isEnabled());
}

TEST_F(LinkWindows, LockAndUnlockShowTheirMessagesAndSwapTheMenus)
{
    SettingsSandbox::setValue("FORM_COUNT/FORM_COUNT", 11);
    startOnUnit();
    connectWith("Quick Connect");
    ASSERT_EQ(window->session().link.LinkConnected, kSet);

    SeenMessage lockMessage;
    whenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, window->lockDialog());
        byName<QRadioButton>(modal, QStringLiteral("Change+Mute"))->setChecked(true);
        byName<QLineEdit>(modal, QStringLiteral("Password"))->setText(QStringLiteral("ab"));
        whenModal([&](QWidget* box) { lockMessage = takeMessage(box); }, modal);
        byName<QAbstractButton>(modal, QStringLiteral("Lock"))->click();
    });
    menu("Lock")->trigger();
    EXPECT_EQ(lockMessage.title, QStringLiteral("LOCK"));
    EXPECT_EQ(lockMessage.text, QStringLiteral("Lock is succeed..."));
    EXPECT_FALSE(window->lockDialog()->isVisible());
    EXPECT_EQ(window->session().link.LockState, 132);
    EXPECT_FALSE(menu("Lock")->isEnabled());
    EXPECT_TRUE(menu("UnLock")->isEnabled());
    std::uint8_t unitLock = 0;
    server.withLine([&](SimLine& line) { unitLock = line.unit(1)->lockState; });
    EXPECT_EQ(unitLock, 132);

    // A wrong password: no message, the dialog stays open; then the right one.
    bool openAfterWrongPassword = false;
    bool messageForWrongPassword = false;
    bool wrongPhase = true;
    SeenMessage unlockMessage;
    whenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, window->unlockDialog());
        auto* password = byName<QLineEdit>(modal, QStringLiteral("Password"));
        auto* unlock = byName<QAbstractButton>(modal, QStringLiteral("Unlock"));
        whenModal([&](QWidget*) { messageForWrongPassword = messageForWrongPassword || wrongPhase; }, modal, 3000);
        password->setText(QStringLiteral("zz"));
        unlock->click();
        QApplication::processEvents();
        openAfterWrongPassword = modal->isVisible() && QApplication::activeModalWidget() == modal;
        wrongPhase = false;
        whenModal([&](QWidget* box) { unlockMessage = takeMessage(box); }, modal);
        password->setText(QStringLiteral("ab"));
        unlock->click();
    });
    menu("UnLock")->trigger();
    EXPECT_TRUE(openAfterWrongPassword);
    EXPECT_FALSE(messageForWrongPassword);
    EXPECT_EQ(unlockMessage.title, QStringLiteral("Unlock"));
    EXPECT_EQ(unlockMessage.text, QStringLiteral("Unlock is succeed..."));
    EXPECT_EQ(window->session().link.LockState, 0);
    EXPECT_TRUE(menu("Lock")->isEnabled());
    EXPECT_FALSE(menu("UnLock")->isEnabled());
}

class UnopenablePort : public LinkWindows, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnopenablePort, ShowsTheOpenComErrorBoxAndNothingElse)
{
    StartupOptions o;
    o.portPath = settings.dir.filePath(QStringLiteral("no-such-tty"));
    start(o);
    const LinkState& link = window->session().link;
    const int sendEnabledBefore = link.SendEnabled.load();
    bool firstModalIsTheBox = false;
    SeenMessage seen;
    whenModal([&](QWidget* modal) {
        firstModalIsTheBox = qobject_cast<QMessageBox*>(modal) != nullptr;
        seen = takeMessage(modal);
    });
    menu(GetParam())->trigger();
    EXPECT_TRUE(firstModalIsTheBox);
    EXPECT_EQ(seen.title, QStringLiteral("Open COM error"));
    EXPECT_EQ(seen.text, QStringLiteral("COM1 connection failed.\n\nPlease select another COM port."));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(window->connectDialog()->isVisible());
    EXPECT_EQ(window->panel4Text(), QStringLiteral("OFFLINE"));
    EXPECT_EQ(link.LinkConnected, 0);
    EXPECT_EQ(link.SendEnabled.load(), sendEnabledBefore);
    EXPECT_EQ(server.line().frameCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Menus, UnopenablePort, ::testing::Values("Connect", "Search... "));

TEST_F(LinkWindows, ComSetupShowsAnAbsentStoredPortReadsTwoDigitsAndSavesOnClose)
{
    SettingsSandbox::setValue("PATH/RS232", 7);
    SettingsSandbox::setValue("PORTMAP/COM7", settings.dir.filePath(QStringLiteral("absent-tty")));
    start({});
    window->ports().registerVirtualPort(12, server.devicePath());
    ASSERT_EQ(window->ports().portNumber(), 7);

    QString labelAtShow, textAtShow, labelAfter, textAfter;
    QStringList items;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<ComSetupDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("COM Setup"));
        auto* list = byName<QComboBox>(dialog, QStringLiteral("COM port"));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        labelAtShow = dialog->labelText();
        textAtShow = dialog->listText();
        const int i12 = list->findText(QStringLiteral("COM12"));
        ASSERT_GE(i12, 0);
        list->setCurrentIndex(i12);
        emit list->activated(i12);
        labelAfter = dialog->labelText();
        textAfter = dialog->listText();
        dialog->close(); // the window's close button
    });
    menu("COM Setup...")->trigger();
    EXPECT_FALSE(items.contains(QStringLiteral("COM7")));
    EXPECT_TRUE(items.contains(QStringLiteral("COM12")));
    EXPECT_EQ(labelAtShow, QStringLiteral("COM Select:COM7"));
    EXPECT_EQ(textAtShow, QStringLiteral("COM7"));
    EXPECT_EQ(labelAfter, QStringLiteral("COM Select:COM12"));
    EXPECT_EQ(textAfter, QStringLiteral("COM12"));
    EXPECT_EQ(window->ports().portNumber(), 12);
    EXPECT_EQ(SettingsSandbox::value("PATH/RS232").toInt(), 12);
}

} // namespace
