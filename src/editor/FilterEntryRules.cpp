#include "editor/FilterEntryRules.h"

#include "model/MatrixTables.h"

#include <algorithm>

namespace {
double clampTyped(double hz)
{
    if (hz < FilterEntryRules::kTypedFloorHz)
        return FilterEntryRules::kTypedLowHz;
    if (hz > FilterEntryRules::kTypedHighHz)
        return FilterEntryRules::kTypedHighHz;
    return hz;
}
} // namespace

FilterEntryRules::PeqFrequencyLayout FilterEntryRules::peqFrequencyLayout(int type)
{
    switch (type) {
    case 1: // HISHELF
        return {{kShelfCornerIndex, kPeqFrequencyMax}, QStringLiteral("1KHz"), QStringLiteral("20.2KHz")};
    case 2: // LOSHELF
        return {{0, kShelfCornerIndex}, QStringLiteral("19.7Hz"), QStringLiteral("1KHz")};
    default:
        return {{0, kPeqFrequencyMax}, QStringLiteral("19.7Hz"), QStringLiteral("20.2KHz")};
    }
}

int FilterEntryRules::peqFrequencyIndex(double hz)
{
    hz = clampTyped(hz);
    for (int i = 0; i < kPeqFrequencyMax; ++i)
        if (PeqFrequencyAt(i) >= hz)
            return i;
    return kPeqFrequencyMax;
}

int FilterEntryRules::crossoverFrequencyIndex(double hz)
{
    hz = clampTyped(hz);
    for (int i = 0; i < kCrossoverTypedMax; ++i)
        if (FrequencyScale[std::size_t(i)] >= hz)
            return i;
    return kCrossoverTypedMax;
}

FilterEntryRules::QEntry FilterEntryRules::qEntry(double value)
{
    if (value < QLabelValues[kQMin])
        return {kQMin, false};
    if (value > QLabelValues[kQMax])
        return {kQMax, false};
    int index = kQMin;
    for (int i = kQMin; i <= kQMax; ++i)
        if (QLabelValues[std::size_t(i)] <= value)
            index = i;
    return {index, true};
}

FilterEntryRules::Range FilterEntryRules::highPassRange(int lowPassIndex)
{
    return {0, std::clamp(lowPassIndex, 0, kHighPassMax)};
}

FilterEntryRules::Range FilterEntryRules::lowPassRange(int highPassIndex)
{
    return {std::clamp(highPassIndex, kLowPassMin, kLowPassStartMax), kLowPassMax};
}

int FilterEntryRules::storedHighPass(int position)
{
    return position > kHighPassMax ? kHighPassStoredMax : std::max(position, 0);
}

int FilterEntryRules::storedLowPass(int position)
{
    return position < kLowPassMin ? kLowPassMin : std::min(position, kLowPassMax);
}

int FilterEntryRules::outputCopyTarget(int source, int target, int maximum)
{
    if (source != target)
        return target;
    return maximum - 1 > source ? target + 1 : 1;
}
