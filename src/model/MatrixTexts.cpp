#include "model/MatrixTexts.h"

#include "model/MatrixTables.h"
#include "model/ValueCodes.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

QString nameOrEmpty(const char* name)
{
    return name ? QString::fromLatin1(name) : QString();
}

// Shortest round-trip decimal in fixed notation ("19.7", "1000", "1.02").
QString shortestDecimal(double value)
{
    if (!std::isfinite(value))
        return QString();
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

// A tenths count as a decimal with the trailing ".0" dropped: 35 -> "3.5", -120 -> "-12".
QString tenthsShortest(int tenths)
{
    const int magnitude = std::abs(tenths);
    QString text = tenths < 0 ? QStringLiteral("-") : QString();
    text += QString::number(magnitude / 10);
    if (magnitude % 10)
        text += QLatin1Char('.') + QString::number(magnitude % 10);
    return text;
}

// A tenths count with exactly one decimal: -400 -> "-40.0".
QString tenthsOneDecimal(int tenths)
{
    const int magnitude = std::abs(tenths);
    return (tenths < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 10)
        + QLatin1Char('.') + QString::number(magnitude % 10);
}

} // namespace

QString PeqFrequencyText(int index)
{
    const int f = ClampCode(index, 0, kPeqFrequencyCount - 1);
    const double hz = PeqFrequencyAt(f);
    if (hz < 100) {
        // The one index whose whole-number value keeps its ".0".
        if (f == 8)
            return QStringLiteral("23.0");
        return tenthsShortest(int(std::lround(hz * 10)));
    }
    if (hz < 1000)
        return QString::number(std::lround(hz));
    if (hz < 10000)
        return QString::number(hz / 1000, 'f', 2) + QLatin1Char('K');
    return QString::number(hz / 1000, 'f', 1) + QLatin1Char('K');
}

QString FrequencyText(double hz)
{
    if (hz <= 1000)
        return shortestDecimal(hz) + QStringLiteral("Hz");
    QString number = shortestDecimal(hz / 1000);
    if (!number.contains(QLatin1Char('.')))
        number += QStringLiteral(".0");
    return number + QStringLiteral("KHz");
}

QString CrossoverFrequencyText(int index)
{
    return FrequencyText(FrequencyAt(index));
}

QString PeqGainText(int code)
{
    return tenthsShortest(ClampCode(code, kPeqGainMin, kPeqGainMax) - kLevelCodeZeroDb) + QStringLiteral("dB");
}

QString QLabelText(int q)
{
    return QString::fromLatin1(QLabelAt(q));
}

QString PeqTypeText(int type)
{
    return nameOrEmpty(NameAt(PeqTypeNames, type));
}

QString FilterTypeText(int type)
{
    return nameOrEmpty(NameAt(FilterTypeNames, type));
}

QString LevelDbText(LevelWord word)
{
    const int code = ClampCode(LevelCodeOf(word), kLevelCodeMin, kLevelCodeMax);
    return tenthsOneDecimal(code - kLevelCodeZeroDb) + QStringLiteral("dB");
}

QString DelayMsText(int code)
{
    return QString::number(DelayMsOf(ClampCode(code, 0, kDelayCodeMax)), 'f', 2) + QStringLiteral("ms");
}

QString DelayMetresText(int code)
{
    return QString::number(DelayMetresOf(ClampCode(code, 0, kDelayCodeMax)), 'f', 2) + QStringLiteral("m");
}

QString DelayFeetText(int code)
{
    return QString::number(DelayFeetOf(ClampCode(code, 0, kDelayCodeMax)), 'f', 2) + QStringLiteral("ft");
}

QString AttackText(int code)
{
    return QString::number(AttackAt(code) / 100.0, 'f', 2) + QStringLiteral("ms");
}

QString ReleaseText(int code)
{
    return QString::number(ReleaseMsAt(code)) + QStringLiteral("ms");
}

QString CompressorThresholdText(int code)
{
    code = ClampCode(code, 0, kCompressorThresholdCount - 1);
    if (code == 0)
        return QStringLiteral("-Inf");
    return QString::number(CompressorThresholdAt(code)) + QStringLiteral("dB");
}

QString CompressorRatioText(int code)
{
    return QString::number(ClampCode(code, 0, 127) + 1) + QStringLiteral(":128");
}

QString CompressorBoostText(int code)
{
    return nameOrEmpty(NameAt(CompressorBoostTexts, code));
}

QString LimiterAttackText(int code)
{
    return tenthsOneDecimal(LimiterAttackAt(code)) + QStringLiteral("us");
}

QString LimiterThresholdText(int code)
{
    code = ClampCode(code, 0, 127);
    if (code == 0)
        return QStringLiteral("-Inf");
    // Half-dB steps: twice the value is a whole number, so the text is exact.
    const int halfDb = 20 - (127 - code);
    return tenthsOneDecimal(halfDb * 5) + QStringLiteral("dB");
}

QString LimiterHoldText(int code)
{
    return nameOrEmpty(NameAt(LimiterHoldTexts, code));
}

QString GateThresholdText(int code)
{
    return nameOrEmpty(NameAt(GateThresholdTexts, code));
}
