#pragma once
#include <QString>

class SettingsStore;

// The configuration kept between runs: "FORM_COUNT"/"FORM_COUNT" holds the last DeviceModel code,
// and "PATH"/"installpath" names the installation folder (read only, by the help command).
class ConfigurationSettings {
public:
    explicit ConfigurationSettings(SettingsStore& store) : m_store(store) {}

    // The configuration to start with. A missing group is created holding 1 (and 3 is used); a
    // missing or unreadable value gives 3, a value below 3 becomes 3. Values above 11 come back as
    // they are: ApplyModelLayout limits them and writes the limited code back.
    int readStartModel();
    // Writes the code as "FORM_COUNT"; failures are ignored (the next start falls back to 3).
    void storeModel(int code);
    // The "PATH" group exists afterwards: when it is missing it is created holding "RS232" = 1,
    // the port number that a missing value stands for.
    void ensurePathGroup();
    // "installpath", empty when missing.
    QString installPath() const;

    static QString group() { return QStringLiteral("FORM_COUNT"); }
    static QString key() { return QStringLiteral("FORM_COUNT"); }

private:
    SettingsStore& m_store;
};
