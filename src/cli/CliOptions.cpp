#include "cli/CliOptions.h"

CliOptions::CliOptions(QStringList valueOptions, QStringList flagOptions)
    : m_valueOptions(valueOptions.begin(), valueOptions.end())
    , m_flagOptions(flagOptions.begin(), flagOptions.end())
{
}

bool CliOptions::parse(const QStringList& args)
{
    m_values.clear();
    m_flags.clear();
    m_positional.clear();
    m_error.clear();
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (optionsEnded || !arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            if (!optionsEnded && arg == QLatin1String("--"))
                optionsEnded = true;
            else
                m_positional << arg;
            continue;
        }
        QString name = arg.mid(2);
        std::optional<QString> inlineValue;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            inlineValue = name.mid(eq + 1);
            name.truncate(eq);
        }
        if (m_flagOptions.contains(name)) {
            if (inlineValue) {
                m_error = QStringLiteral("option --%1 takes no value").arg(name);
                return false;
            }
            m_flags.insert(name);
        } else if (m_valueOptions.contains(name)) {
            if (inlineValue) {
                m_values.insert(name, *inlineValue);
            } else if (i + 1 < args.size()) {
                m_values.insert(name, args[++i]);
            } else {
                m_error = QStringLiteral("option --%1 needs a value").arg(name);
                return false;
            }
        } else {
            m_error = QStringLiteral("unknown option --%1").arg(name);
            return false;
        }
    }
    return true;
}

bool CliOptions::isSet(const QString& name) const
{
    return m_values.contains(name) || m_flags.contains(name);
}

QString CliOptions::value(const QString& name) const
{
    return m_values.value(name);
}

bool CliOptions::integer(const QString& name, int low, int high, int& out)
{
    if (!m_values.contains(name))
        return true;
    bool ok = false;
    const int v = m_values.value(name).trimmed().toInt(&ok, 10);
    if (!ok || v < low || v > high) {
        m_error = QStringLiteral("--%1 must be a whole number from %2 to %3, not \"%4\"")
                      .arg(name)
                      .arg(low)
                      .arg(high)
                      .arg(m_values.value(name));
        return false;
    }
    out = v;
    return true;
}

bool CliOptions::deviceModel(DeviceModel& out)
{
    const QString name = QStringLiteral("model");
    if (!m_values.contains(name)) {
        out = DeviceModel::fromCode(11);
        return true;
    }
    const std::optional<int> code = modelCodeFromText(m_values.value(name));
    if (!code) {
        m_error = QStringLiteral("--model must be one of 4x4 4x8 4x16 8x4 8x8 8x16 16x4 16x8 16x16 or a code "
                                 "3..11, not \"%1\"")
                      .arg(m_values.value(name));
        return false;
    }
    out = DeviceModel::fromCode(*code);
    return true;
}

bool CliOptions::expectPositional(int count, const QString& usage)
{
    if (m_positional.size() == count)
        return true;
    m_error = QStringLiteral("usage: %1").arg(usage);
    return false;
}

std::optional<int> CliOptions::modelCodeFromText(const QString& text)
{
    const QString t = text.trimmed().toLower();
    bool isNumber = false;
    const int code = t.toInt(&isNumber, 10);
    if (isNumber)
        return code >= 3 && code <= 11 ? std::optional<int>(code) : std::nullopt;
    for (int c = 3; c <= 11; ++c) {
        const DeviceModel m = DeviceModel::fromCode(c);
        const QString x = QStringLiteral("%1x%2").arg(m.inputs).arg(m.outputs);
        const QString star = QStringLiteral("%1*%2").arg(m.inputs).arg(m.outputs);
        if (t == x || t == star)
            return c;
    }
    return std::nullopt;
}

QString CliOptions::modelText(int code)
{
    if (code < 3 || code > 11)
        return QString();
    const DeviceModel m = DeviceModel::fromCode(code);
    return QStringLiteral("%1*%2").arg(m.inputs).arg(m.outputs);
}
