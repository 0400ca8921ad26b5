#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

class Session;

// The one serial port's number (1..120, shown as "COM" + n) and where it lives on this machine.
//
// Stored with QSettings(IniFormat, UserScope, "TOLVAN16"), group "PATH", integer "RS232"; when the
// user file cannot be written the system scope (same organisation) is the fallback. Tests point
// QSettings at their own folder (QSettings::setPath / XDG_CONFIG_HOME) before creating this.
//
// COM number -> device path, first match wins:
//   1. a port registered at run time with registerVirtualPort (the designer's virtual unit);
//   2. an override in the settings: group "PORTMAP", key "COM<n>", string value = any path;
//   3. on Windows "COM<n>" itself; on Linux the fixed table
//        COM1..COM32   -> /dev/ttyS0   .. /dev/ttyS31    (on-board serial ports)
//        COM33..COM64  -> /dev/ttyUSB0 .. /dev/ttyUSB31  (USB-serial adapters)
//        COM65..COM96  -> /dev/ttyACM0 .. /dev/ttyACM31  (USB modem-class devices)
//        COM97..COM120 -> no device (free for overrides and virtual ports).
// A one-run path (tolvan16ctl --port PATH, the designer's --port) replaces the mapped path of the
// current number without touching the stored number.
//
// GUI thread only. Changing the number never opens the port: the next reopenPort() does.
class PortSettings {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 120;

    PortSettings() = default;

    int portNumber() const { return m_port; }
    // Any value; the stored number is its low byte (0..255) like the registry value it mirrors.
    void setPortNumber(int n) { m_port = n; }

    // LoadPortSetting: reads "RS232" (1 when missing or unreadable), keeps its low byte; also reads
    // the stored COM -> path overrides.
    void load();
    // SavePortSetting: writes the current number as "RS232" (0..255); failures are ignored.
    void save() const;

    // The device path of COM number n by the rules above; empty when n maps to nothing.
    QString devicePath(int n) const;
    // The path the next reopenPort() opens: the one-run path if set, else devicePath(portNumber()).
    QString currentDevicePath() const;
    void setOneRunPath(const QString& path) { m_oneRunPath = path; }
    QString oneRunPath() const { return m_oneRunPath; }

    // Makes COM number n stand for `path` for this run (not stored); an empty path removes it.
    // Registered ports win over stored overrides and the table.
    void registerVirtualPort(int n, const QString& path);
    // Stores an override COM n -> path in the settings ("PORTMAP"/"COM<n>"); empty removes it.
    void setStoredOverride(int n, const QString& path);

    // Presence test: the mapped device can be opened for reading and writing, or fails only because
    // someone else holds it. Numbers outside 1..120 and unmapped numbers are absent.
    bool isPresent(int n) const;

    // ReopenPort: closes the session's port, waits `waitMs` (PumpWait; may throw ProcedureAborted),
    // sets the port name from currentDevicePath() and opens it. Returns whether it opened; the link
    // procedures that "ignore failures" simply drop the result.
    bool reopenPort(Session& session, int waitMs = 300) const;

    // "COM" + n.
    static QString portName(int n);
    // The port error box's text: "COM<n> connection failed.\r\rPlease select another COM port."
    static QString openErrorText(int n);
    static QString openErrorTitle() { return QStringLiteral("Open COM error"); }

    // --- COM Setup dialog logic (the dialog calls these and shows what they return) ---
    // On show: a port number of 0 becomes 1; returns the items "COM<n>" of every present port in
    // ascending order. The list's text is then portName(portNumber()) even when absent.
    QStringList comSetupShow();
    // On selection of an item text: digits from the fourth character on; a present port is taken,
    // anything else selects port 1. Returns the new number.
    int comSetupSelect(const QString& itemText);
    // "COM Select:" + portName(portNumber()).
    QString comSetupLabel() const;
    // On close (however it closes): save().
    void comSetupClosed() const { save(); }

private:
    int m_port = 1;
    QString m_oneRunPath;
    QMap<int, QString> m_virtualPorts;
    QMap<int, QString> m_overrides;
};
