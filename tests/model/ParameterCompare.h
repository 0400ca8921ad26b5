#pragma once
#include "model/MatrixParameters.h"

#include <gtest/gtest.h>

#include <string>

// Field-by-field comparison of channels 1..16, naming the first difference.
inline ::testing::AssertionResult SameParameters(const MatrixParameters& a, const MatrixParameters& b)
{
    auto differ = [](const std::string& what, std::size_t c, long x, long y) {
        return ::testing::AssertionFailure()
            << what << " of channel " << c << ": " << x << " vs " << y;
    };
    for (std::size_t c = 1; c <= 16; ++c) {
        if (a.inputGain[c] != b.inputGain[c])
            return differ("input gain", c, a.inputGain[c], b.inputGain[c]);
        if (a.outputGain[c] != b.outputGain[c])
            return differ("output gain", c, a.outputGain[c], b.outputGain[c]);
        if (a.delay[c] != b.delay[c])
            return differ("delay", c, a.delay[c], b.delay[c]);
        if (a.polarity[c] != b.polarity[c])
            return differ("polarity", c, a.polarity[c], b.polarity[c]);
        for (std::size_t i = 1; i <= 16; ++i) {
            if (a.crosspoint[c][i] != b.crosspoint[c][i])
                return differ("crosspoint from input " + std::to_string(i), c, a.crosspoint[c][i], b.crosspoint[c][i]);
        }
        const CrossoverSettings& xa = a.crossover[c];
        const CrossoverSettings& xb = b.crossover[c];
        if (xa.lowPassFrequency != xb.lowPassFrequency)
            return differ("low-pass frequency", c, xa.lowPassFrequency, xb.lowPassFrequency);
        if (xa.highPassFrequency != xb.highPassFrequency)
            return differ("high-pass frequency", c, xa.highPassFrequency, xb.highPassFrequency);
        if (xa.lowPassType != xb.lowPassType)
            return differ("low-pass type", c, xa.lowPassType, xb.lowPassType);
        if (xa.highPassType != xb.highPassType)
            return differ("high-pass type", c, xa.highPassType, xb.highPassType);
        for (std::size_t n = 1; n <= 5; ++n) {
            const PeqBand& pa = a.peq[c][n];
            const PeqBand& pb = b.peq[c][n];
            const std::string band = "band " + std::to_string(n) + " ";
            if (pa.frequency != pb.frequency)
                return differ(band + "frequency", c, pa.frequency, pb.frequency);
            if (pa.gain != pb.gain)
                return differ(band + "gain", c, pa.gain, pb.gain);
            if (pa.q != pb.q)
                return differ(band + "Q", c, pa.q, pb.q);
            if (pa.type != pb.type)
                return differ(band + "type", c, pa.type, pb.type);
            if (pa.band != pb.band)
                return differ(band + "number", c, pa.band, pb.band);
            if (pa.flags != pb.flags)
                return differ(band + "flags", c, pa.flags, pb.flags);
        }
        for (int k = 0; k < 14; ++k) {
            if (a.dynamics[c][k] != b.dynamics[c][k])
                return differ("dynamics byte " + std::to_string(k), c, a.dynamics[c][k], b.dynamics[c][k]);
        }
    }
    return ::testing::AssertionSuccess();
}
