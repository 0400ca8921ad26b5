#include "model/MatrixOperations.h"

#include "model/MatrixTables.h"
#include "model/ParameterStore.h"
#include "model/ValueCodes.h"

void ResetMatrixDefaults(MatrixParameters& params)
{
    const LevelWord mutedZeroDb = MakeLevelWord(kLevelCodeZeroDb, true);
    const LevelWord openZeroDb = MakeLevelWord(kLevelCodeZeroDb, false);
    for (std::size_t c = 1; c <= kChannelCount; ++c) {
        params.inputGain[c] = mutedZeroDb;
        params.outputGain[c] = mutedZeroDb;
        params.crosspoint[c].fill(openZeroDb);
        params.crosspoint[c][0] = 0;
        params.delay[c] = 0;
        params.polarity[c] = kPolarityNormal;
        for (std::size_t b = 1; b <= kBandCount; ++b) {
            PeqBand band;
            band.frequency = 203;
            band.gain = kLevelCodeZeroDb;
            band.q = 20;
            band.type = 0;
            band.band = std::uint8_t(b);
            band.flags = kBandBypassed;
            params.peq[c][b] = band;
        }
        params.crossover[c] = CrossoverSettings{393, 0, 0, 0};
        params.dynamics[c] = DynamicsBlock{};
    }
}

void NormalizeCrossover(CrossoverSettings& crossover)
{
    crossover.lowPassFrequency = ClampCode(crossover.lowPassFrequency, 65, kFrequencyScaleSize - 1);
    crossover.highPassFrequency = ClampCode(crossover.highPassFrequency, 0, 383);
    crossover.lowPassType = ClampCode(crossover.lowPassType, 0, kFilterTypeCount);
    crossover.highPassType = ClampCode(crossover.highPassType, 0, kFilterTypeCount);
}

void NormalizePeqBand(PeqBand& band)
{
    band.frequency = ClampCode(band.frequency, 0, kPeqFrequencyCount - 1);
    band.gain = ClampCode(band.gain, kPeqGainMin, kPeqGainMax);
    band.q = std::uint8_t(ClampCode(band.q, 0, kQLabelCount - 1));
    band.type = std::uint8_t(ClampCode(band.type, 0, 3));
    band.band = std::uint8_t(ClampCode(band.band, 0, kBandCount));
}

void NormalizeMatrixParameters(MatrixParameters& params)
{
    for (std::size_t o = 1; o <= kChannelCount; ++o) {
        NormalizeCrossover(params.crossover[o]);
        for (std::size_t b = 1; b <= kBandCount; ++b)
            NormalizePeqBand(params.peq[o][b]);
    }
}

void MarkAllOutputsMuted(MatrixParameters& params)
{
    for (std::size_t o = 1; o <= kChannelCount; ++o)
        params.outputGain[o] |= kMuteBit;
}

void SelectDeviceModel(ParameterStore& store, int code)
{
    store.model = DeviceModel::fromCode(code);
    ResetMatrixDefaults(store.params);
}
