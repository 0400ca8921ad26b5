// Port number storage, the COM -> device table, overrides, presence and the COM Setup rules.
#include "link/PortSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// Points both settings scopes at a fresh folder for each test.
class PortSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("user"));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_dir.filePath("system"));
    }
    QSettings user() const { return QSettings(QSettings::IniFormat, QSettings::UserScope, "TOLVAN16"); }
    QSettings system() const { return QSettings(QSettings::IniFormat, QSettings::SystemScope, "TOLVAN16"); }

    QTemporaryDir m_dir;
};

// A pseudo-terminal slave that exists as long as the object: a present device with no unit behind.
class Pty {
public:
    Pty()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_path = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~Pty()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    QString path() const { return m_path; }

private:
    int m_master = -1;
    QString m_path;
};

TEST_F(PortSettingsTest, FirstRunWithoutAnyValueUsesPortOne)
{
    PortSettings p;
    p.setPortNumber(9);
    p.load();
    EXPECT_EQ(p.portNumber(), 1);
}

TEST_F(PortSettingsTest, LoadReadsTheLowByteAndFallsBackToOneOnGarbage)
{
    struct Case {
        QVariant stored;
        int expected;
    };
    const Case cases[] = {{7, 7}, {120, 120}, {263, 7}, {256, 0}, {QStringLiteral("abc"), 1}};
    for (const Case& c : cases) {
        user().setValue("PATH/RS232", c.stored);
        PortSettings p;
        p.load();
        EXPECT_EQ(p.portNumber(), c.expected) << c.stored.toString().toStdString();
    }
}

TEST_F(PortSettingsTest, MachineWideValueIsTheFallbackForReads)
{
    system().setValue("PATH/RS232", 5);
    PortSettings p;
    p.load();
    EXPECT_EQ(p.portNumber(), 5);

    user().setValue("PATH/RS232", 8);
    p.load();
    EXPECT_EQ(p.portNumber(), 8);
}

TEST_F(PortSettingsTest, SaveWritesTheNumberToTheUserFileAndSurvivesARestart)
{
    PortSettings p;
    p.setPortNumber(12);
    p.comSetupClosed(); // closing the dialog, however, saves
    EXPECT_EQ(user().value("PATH/RS232").toInt(), 12);
    EXPECT_FALSE(system().contains("PATH/RS232"));

    PortSettings next;
    next.load();
    EXPECT_EQ(next.portNumber(), 12);
}

TEST_F(PortSettingsTest, LinuxTableInItsDocumentedOrder)
{
    PortSettings p;
    EXPECT_EQ(p.devicePath(1), "/dev/ttyS0");
    EXPECT_EQ(p.devicePath(32), "/dev/ttyS31");
    EXPECT_EQ(p.devicePath(33), "/dev/ttyUSB0");
    EXPECT_EQ(p.devicePath(64), "/dev/ttyUSB31");
    EXPECT_EQ(p.devicePath(65), "/dev/ttyACM0");
    EXPECT_EQ(p.devicePath(96), "/dev/ttyACM31");
    EXPECT_TRUE(p.devicePath(97).isEmpty());
    EXPECT_TRUE(p.devicePath(120).isEmpty());
    EXPECT_TRUE(p.devicePath(0).isEmpty());
    EXPECT_TRUE(p.devicePath(121).isEmpty());
}

TEST_F(PortSettingsTest, StoredOverrideAndVirtualPortTakePrecedence)
{
    {
        PortSettings p;
        p.setStoredOverride(3, "/tmp/some-line");
        p.setStoredOverride(110, "/tmp/far-line");
    }
    PortSettings p;
    p.load();
    EXPECT_EQ(p.devicePath(3), "/tmp/some-line");
    EXPECT_EQ(p.devicePath(110), "/tmp/far-line");

    p.registerVirtualPort(3, "/tmp/virtual");
    EXPECT_EQ(p.devicePath(3), "/tmp/virtual");
    p.registerVirtualPort(3, QString());
    EXPECT_EQ(p.devicePath(3), "/tmp/some-line");

    p.setStoredOverride(3, QString());
    EXPECT_EQ(p.devicePath(3), "/dev/ttyS2");
    PortSettings reloaded;
    reloaded.load();
    EXPECT_EQ(reloaded.devicePath(3), "/dev/ttyS2");
}

TEST_F(PortSettingsTest, OneRunPathReplacesTheCurrentPortsPathOnly)
{
    PortSettings p;
    p.setPortNumber(2);
    EXPECT_EQ(p.currentDevicePath(), "/dev/ttyS1");
    p.setOneRunPath("/tmp/line");
    EXPECT_EQ(p.currentDevicePath(), "/tmp/line");
    EXPECT_EQ(p.devicePath(2), "/dev/ttyS1");
    EXPECT_EQ(p.portNumber(), 2);
}

TEST_F(PortSettingsTest, PresenceTriesToOpenTheMappedDevice)
{
    Pty pty;
    ASSERT_FALSE(pty.path().isEmpty());
    PortSettings p;
    p.registerVirtualPort(100, pty.path());
    p.registerVirtualPort(101, m_dir.filePath("no-such-device"));
    EXPECT_TRUE(p.isPresent(100));
    EXPECT_FALSE(p.isPresent(101));
    EXPECT_FALSE(p.isPresent(110)); // maps to nothing
    EXPECT_FALSE(p.isPresent(0));
}

TEST_F(PortSettingsTest, ComSetupListsPresentPortsButShowsAnAbsentStoredOne)
{
    Pty pty;
    ASSERT_FALSE(pty.path().isEmpty());
    user().setValue("PATH/RS232", 107);
    PortSettings p;
    p.load();
    p.registerVirtualPort(112, pty.path());

    const QStringList items = p.comSetupShow();
    EXPECT_TRUE(items.contains("COM112"));
    EXPECT_FALSE(items.contains("COM107"));
    EXPECT_EQ(p.portNumber(), 107);
    EXPECT_EQ(p.comSetupLabel(), "COM Select:COM107");
    // Ascending order.
    QStringList sorted = items;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.mid(3).toInt() < b.mid(3).toInt();
    });
    EXPECT_EQ(items, sorted);
}

TEST_F(PortSettingsTest, ComSetupSelectionReadsTheWholeNumberAndFallsBackToOne)
{
    Pty pty;
    ASSERT_FALSE(pty.path().isEmpty());
    PortSettings p;
    p.registerVirtualPort(12, pty.path());
    EXPECT_EQ(p.comSetupSelect("COM12"), 12);
    EXPECT_EQ(p.comSetupLabel(), "COM Select:COM12");
    EXPECT_EQ(p.comSetupSelect("COM119"), 1); // absent
    EXPECT_EQ(p.comSetupSelect("COMx"), 1);
}

TEST_F(PortSettingsTest, ComSetupShowTurnsPortZeroIntoOne)
{
    PortSettings p;
    p.setPortNumber(0);
    p.comSetupShow();
    EXPECT_EQ(p.portNumber(), 1);
}

TEST(PortSettingsTexts, OpenErrorBox)
{
    EXPECT_EQ(PortSettings::openErrorText(3), "COM3 connection failed.\r\rPlease select another COM port.");
    EXPECT_EQ(PortSettings::openErrorTitle(), "Open COM error");
}

} // namespace
