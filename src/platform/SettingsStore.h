#pragma once
#include <QString>
#include <optional>

// The designer's persistent settings: organisation "TOLVAN16", groups such as "PATH" and
// "FORM_COUNT", kept as an ini file (IniFormat) in the user scope, with the machine-wide scope as
// the fallback. Reads see the machine-wide file where the user file has no value; a write goes
// to the user file, or to the machine-wide file when the user file cannot be written.
// Failures are reported as empty results / false and never thrown: every caller has a default.
// Tests redirect both scopes with QSettings::setPath.
class SettingsStore {
public:
    explicit SettingsStore(QString organisation = QStringLiteral("TOLVAN16"));

    // The integer stored under group/key; empty when missing, not an integer, or unreadable.
    std::optional<int> readInt(const QString& group, const QString& key) const;
    // The text stored under group/key; empty when missing or unreadable.
    std::optional<QString> readString(const QString& group, const QString& key) const;
    // Writes and flushes; false when neither scope could take the value.
    bool writeInt(const QString& group, const QString& key, int value);
    bool writeString(const QString& group, const QString& key, const QString& value);
    // True when the group exists in either scope.
    bool hasGroup(const QString& group) const;

private:
    bool write(const QString& group, const QString& key, const QVariant& value);
    QString m_organisation;
};
