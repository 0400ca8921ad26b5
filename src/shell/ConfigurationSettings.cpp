#include "shell/ConfigurationSettings.h"

#include "platform/SettingsStore.h"

int ConfigurationSettings::readStartModel()
{
    constexpr int kFallback = 3;
    if (!m_store.hasGroup(group())) {
        m_store.writeInt(group(), key(), 1);
        return kFallback;
    }
    const auto stored = m_store.readInt(group(), key());
    if (!stored)
        return kFallback;
    return *stored < 3 ? kFallback : *stored;
}

void ConfigurationSettings::storeModel(int code)
{
    m_store.writeInt(group(), key(), code);
}

void ConfigurationSettings::ensurePathGroup()
{
    if (!m_store.hasGroup(QStringLiteral("PATH")))
        m_store.writeInt(QStringLiteral("PATH"), QStringLiteral("RS232"), 1);
}

QString ConfigurationSettings::installPath() const
{
    return m_store.readString(QStringLiteral("PATH"), QStringLiteral("installpath")).value_or(QString());
}
