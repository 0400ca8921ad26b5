#include "platform/SettingsStore.h"

#include <QSettings>
#include <QVariant>

SettingsStore::SettingsStore(QString organisation) : m_organisation(std::move(organisation)) {}

std::optional<int> SettingsStore::readInt(const QString& group, const QString& key) const
{
    // A user-scope QSettings falls back to the machine-wide file for keys the user file lacks.
    QSettings s(QSettings::IniFormat, QSettings::UserScope, m_organisation);
    if (s.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant v = s.value(group + QLatin1Char('/') + key);
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

std::optional<QString> SettingsStore::readString(const QString& group, const QString& key) const
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, m_organisation);
    if (s.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant v = s.value(group + QLatin1Char('/') + key);
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

bool SettingsStore::writeInt(const QString& group, const QString& key, int value)
{
    return write(group, key, value);
}

bool SettingsStore::writeString(const QString& group, const QString& key, const QString& value)
{
    return write(group, key, value);
}

bool SettingsStore::hasGroup(const QString& group) const
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, m_organisation);
    return s.childGroups().contains(group);
}

bool SettingsStore::write(const QString& group, const QString& key, const QVariant& value)
{
    for (const auto scope : {QSettings::UserScope, QSettings::SystemScope}) {
        QSettings s(QSettings::IniFormat, scope, m_organisation);
        if (!s.isWritable())
            continue;
        s.setFallbacksEnabled(false);
        s.setValue(group + QLatin1Char('/') + key, value);
        s.sync();
        if (s.status() == QSettings::NoError)
            return true;
    }
    return false;
}
