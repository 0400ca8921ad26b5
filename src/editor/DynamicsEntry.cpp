#include "editor/DynamicsEntry.h"

#include "editor/NumericEntryParser.h"
#include "model/MatrixTables.h"
#include "model/ValueCodes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLimiterThresholdUnreadable = -60;
constexpr double kCompressorThresholdUnreadable = -40;
constexpr double kLimiterThresholdCeiling = 10.2;
constexpr double kCompressorThresholdTop = 12;

// floor(v * scale) for a value the operator typed in decimal. 0.29 reads as 0.28999..., whose
// product with 100 falls just short of 29; a product within rounding noise of a whole number
// counts as that number, so a typed value never lands one step below what was written.
double floorScaled(double v, double scale)
{
    const double s = v * scale;
    const double nearest = std::round(s);
    if (std::abs(s - nearest) <= 1e-9 * std::max(1.0, std::abs(s)))
        return nearest;
    return std::floor(s);
}

// Table search for a typed value; a value that is not a number selects code 0.
template <typename T, std::size_t N>
int searchTable(const std::array<T, N>& table, double wanted)
{
    if (std::isnan(wanted))
        return 0;
    return FirstCodeAtLeast(table, wanted);
}

} // namespace

int AttackCodeFromMs(double ms)
{
    return searchTable(AttackTable, floorScaled(ms, 100));
}

int LimiterAttackCodeFromUs(double us)
{
    return searchTable(LimiterAttackTable, floorScaled(us, 10));
}

int ReleaseCodeFromMs(double ms)
{
    return searchTable(ReleaseTable, floorScaled(ms, 1));
}

int RatioCodeFromEntry(double ratio)
{
    if (std::isnan(ratio))
        return 0;
    const double limited = std::clamp(ratio, 1.0, 128.0);
    return int(std::floor(limited)) - 1;
}

int LimiterThresholdCodeFromDb(double db)
{
    if (std::isnan(db))
        return 0;
    if (db > 10)
        db = kLimiterThresholdCeiling;
    if (db > -53.5 && db < 10.5)
        return std::clamp(int(std::floor((db + 53.5) / 0.5)), 0, 127);
    return 0;
}

int LimiterThresholdCodeFromText(const QString& text)
{
    double v = NumericEntryParser(text);
    if (v == kNumericEntryFailure)
        v = kLimiterThresholdUnreadable;
    return LimiterThresholdCodeFromDb(v);
}

int CompressorThresholdCodeFromDb(double db)
{
    if (std::isnan(db))
        return 0;
    if (db > kCompressorThresholdTop)
        return kCompressorThresholdCount - 1;
    const double target = db > -24.5 ? db : double(CompressorThresholdTable[0]);
    return FirstCodeAtLeast(CompressorThresholdTable, target);
}

int CompressorThresholdCodeFromText(const QString& text)
{
    double v = NumericEntryParser(text);
    if (v == kNumericEntryFailure)
        v = kCompressorThresholdUnreadable;
    return CompressorThresholdCodeFromDb(v);
}

std::uint8_t DynamicsSwitchByte(bool lit)
{
    return lit ? std::uint8_t(0x00) : kDynamicsInCircuit;
}

bool IsDynamicsSwitchLit(std::uint8_t byte)
{
    return byte != kDynamicsInCircuit;
}
