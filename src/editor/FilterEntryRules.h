#pragma once
#include <QString>

// The value rules of the PEQ band and crossover dialogs, without widgets: slider ranges by filter
// type and by the other crossover side, how a typed value finds its index, and the output copy's
// source/target rule. Indices are those of MatrixParameters (PEQ index 0..359 = FrequencyScale
// [i + 35]; crossover index 0..394 = FrequencyScale[i]).
class FilterEntryRules {
public:
    // PEQ band dialog.
    static constexpr int kPeqFrequencyMax = 359;
    static constexpr int kShelfCornerIndex = 203; // 1.00 kHz: where a new type starts
    static constexpr int kGainMin = 480;
    static constexpr int kGainMax = 720;
    static constexpr int kGainZero = 600;
    static constexpr int kQMin = 4;
    static constexpr int kQMax = 104;

    // Crossover dialog.
    static constexpr int kHighPassMax = 382;       // slider end
    static constexpr int kHighPassStoredMax = 383; // a position above the end is stored as this
    static constexpr int kLowPassMin = 65;
    static constexpr int kLowPassMax = 394;
    static constexpr int kLowPassStartMax = 385;   // the low-pass range never starts above this
    static constexpr int kCrossoverTypedMax = 393;

    // Typed frequencies below this become kTypedLowHz; above kTypedHighHz they become kTypedHighHz.
    static constexpr double kTypedFloorHz = 10;
    static constexpr double kTypedLowHz = 19.7;
    static constexpr double kTypedHighHz = 20200;

    struct Range {
        int min = 0;
        int max = 0;
    };
    // The "Freq" slider by band type, with the texts at its two ends: "HISHELF" 203..359,
    // "LOSHELF" 0..203, every other type 0..359.
    struct PeqFrequencyLayout {
        Range range;
        QString lowLabel;
        QString highLabel;
    };
    static PeqFrequencyLayout peqFrequencyLayout(int type);

    // The PEQ index of a typed frequency: the first index whose frequency is not below it
    // (clamped into 19.7 .. 20200 Hz first), at most 359.
    static int peqFrequencyIndex(double hz);
    // The crossover index of a typed frequency: the first FrequencyScale index whose frequency
    // is not below it (clamped as above), at most 393.
    static int crossoverFrequencyIndex(double hz);

    // A typed Q: below 0.4 the slider goes to 4 and above 128 to 104, and nothing is stored;
    // otherwise the largest index 4..104 whose label is not above the value, stored.
    struct QEntry {
        int index = kQMin;
        bool store = false;
    };
    static QEntry qEntry(double value);

    // High-pass slider: 0 .. the low-pass index, at most 382.
    static Range highPassRange(int lowPassIndex);
    // Low-pass slider: the high-pass index raised to at least 65 and lowered to at most 385 .. 394.
    static Range lowPassRange(int highPassIndex);
    // What a slider position stores: a high-pass position above 382 as 383, a low-pass position
    // below 65 as 65.
    static int storedHighPass(int position);
    static int storedLowPass(int position);

    // Output copy: when the boxes show the same output, the target moves on to target + 1 when
    // maximum - 1 is greater than the source, else to 1. Any other pair is returned unchanged.
    static int outputCopyTarget(int source, int target, int maximum);
};
