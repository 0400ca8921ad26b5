#include "link/PortSettings.h"

#include "link/Session.h"
#include "platform/SerialPortAdapter.h"

#include <QSettings>
#include <memory>

namespace {

constexpr auto kOrganisation = "TOLVAN16";
constexpr auto kRs232Key = "PATH/RS232";
constexpr auto kPortMapGroup = "PORTMAP";

// The per-user file, or the machine-wide one when the user file cannot be written. Reads from
// the per-user object fall back to the machine-wide file by themselves (QSettings fallbacks).
std::unique_ptr<QSettings> openSettings()
{
    auto user = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kOrganisation);
    if (user->isWritable())
        return user;
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::SystemScope, kOrganisation);
}

struct TableRange {
    int firstCom;
    int count;
    const char* prefix;
};

// The fixed Linux numbering; documented in PortSettings.h.
constexpr TableRange kLinuxTable[] = {
    {1, 32, "/dev/ttyS"},
    {33, 32, "/dev/ttyUSB"},
    {65, 32, "/dev/ttyACM"},
};

QString tablePath(int n)
{
#ifdef Q_OS_WIN
    return PortSettings::portName(n);
#else
    for (const auto& r : kLinuxTable) {
        if (n >= r.firstCom && n < r.firstCom + r.count)
            return QString::fromLatin1(r.prefix) + QString::number(n - r.firstCom);
    }
    return {};
#endif
}

} // namespace

void PortSettings::load()
{
    auto s = openSettings();
    bool ok = false;
    int value = s->value(kRs232Key).toInt(&ok);
    if (!ok)
        value = 1;
    m_port = value & 0xFF;

    m_overrides.clear();
    s->beginGroup(kPortMapGroup);
    const QStringList keys = s->childKeys();
    for (const QString& key : keys) {
        if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;
        bool numOk = false;
        const int n = key.mid(3).toInt(&numOk);
        const QString path = s->value(key).toString();
        if (numOk && !path.isEmpty())
            m_overrides.insert(n, path);
    }
    s->endGroup();
}

void PortSettings::save() const
{
    auto s = openSettings();
    s->setValue(kRs232Key, m_port & 0xFF);
    s->sync();
}

QString PortSettings::devicePath(int n) const
{
    if (n < kFirstPort || n > kLastPort)
        return {};
    if (auto it = m_virtualPorts.find(n); it != m_virtualPorts.end())
        return it.value();
    if (auto it = m_overrides.find(n); it != m_overrides.end())
        return it.value();
    return tablePath(n);
}

QString PortSettings::currentDevicePath() const
{
    return m_oneRunPath.isEmpty() ? devicePath(m_port) : m_oneRunPath;
}

void PortSettings::registerVirtualPort(int n, const QString& path)
{
    if (path.isEmpty())
        m_virtualPorts.remove(n);
    else
        m_virtualPorts.insert(n, path);
}

void PortSettings::setStoredOverride(int n, const QString& path)
{
    auto s = openSettings();
    s->beginGroup(kPortMapGroup);
    const QString key = portName(n);
    if (path.isEmpty()) {
        s->remove(key);
        m_overrides.remove(n);
    } else {
        s->setValue(key, path);
        m_overrides.insert(n, path);
    }
    s->endGroup();
    s->sync();
}

bool PortSettings::isPresent(int n) const
{
    const QString path = devicePath(n);
    return !path.isEmpty() && SerialPortAdapter::isPresent(path);
}

bool PortSettings::reopenPort(Session& session, int waitMs) const
{
    LineTransport& line = session.line();
    line.close();
    session.pump().wait(waitMs);
    line.setPortName(currentDevicePath());
    return line.open();
}

QString PortSettings::portName(int n)
{
    return QStringLiteral("COM") + QString::number(n);
}

QString PortSettings::openErrorText(int n)
{
    return portName(n) + QStringLiteral(" connection failed.\r\rPlease select another COM port.");
}

QStringList PortSettings::comSetupShow()
{
    if (m_port == 0)
        m_port = 1;
    QStringList items;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        if (isPresent(n))
            items << portName(n);
    }
    return items;
}

int PortSettings::comSetupSelect(const QString& itemText)
{
    bool ok = false;
    const int n = itemText.mid(3).toInt(&ok);
    m_port = (ok && isPresent(n)) ? n : 1;
    return m_port;
}

QString PortSettings::comSetupLabel() const
{
    return QStringLiteral("COM Select:") + portName(m_port);
}
