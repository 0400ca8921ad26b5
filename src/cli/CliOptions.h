#pragma once
#include "model/DeviceModel.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// Command-line options of one tolvan16ctl command: "--name value", "--name=value" and "--flag",
// mixed freely with positional arguments; "--" ends the options. Each command names the options it
// takes, so an option another command uses is refused as unknown. Validating accessors for the
// options shared by the commands: --model (configuration), --port (serial device), --address
// (unit 1..255). Every failure leaves a one-line message in error().
class CliOptions {
public:
    CliOptions(QStringList valueOptions, QStringList flagOptions = {});

    // args: everything after the command word. False with error() set on an unknown option or an
    // option value that is missing.
    bool parse(const QStringList& args);

    const QString& error() const { return m_error; }
    const QStringList& positional() const { return m_positional; }
    bool isSet(const QString& name) const;
    QString value(const QString& name) const;

    // A whole number option within low..high; false with error() set when it is given but is not
    // one. Absent: out keeps its value and true is returned.
    bool integer(const QString& name, int low, int high, int& out);
    // --model: "4x4" .. "16x16" (also written with "*") or the code 3..11; 16x16 when absent.
    bool deviceModel(DeviceModel& out);
    // --address 1..255; absent: out unchanged.
    bool address(int& out) { return integer(QStringLiteral("address"), 1, 255, out); }
    // --port: a device path or "COM"n, passed on as given; empty when absent.
    QString port() const { return value(QStringLiteral("port")); }

    // Exactly `count` positional arguments, else false with error() naming `usage`.
    bool expectPositional(int count, const QString& usage);

    void setError(const QString& message) { m_error = message; }

    static std::optional<int> modelCodeFromText(const QString& text);
    // "4*4" .. "16*16" for codes 3..11, empty otherwise.
    static QString modelText(int code);

private:
    QSet<QString> m_valueOptions;
    QSet<QString> m_flagOptions;
    QHash<QString, QString> m_values;
    QSet<QString> m_flags;
    QStringList m_positional;
    QString m_error;
};
