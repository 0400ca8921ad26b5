#pragma once
#include <array>
#include <cstdint>

// Every parameter of a matrix unit as its integer code. Always 16 inputs and 16 outputs; the
// configuration only limits what the editor shows. Arrays are indexed from 1 ([0] unused).

// Bit 15 = mute; bits 0..14 = level code 200..660, dB = (code - 600) / 10.
using LevelWord = std::uint16_t;
inline constexpr LevelWord kMuteBit = 0x8000;

struct PeqBand {
    std::int32_t frequency = 203; // index 0..359 into the PEQ scale (FrequencyScale[f + 35])
    std::int32_t gain = 600;      // 480..720, dB = (code - 600) / 10
    std::uint8_t q = 20;          // 0..104 into QLabels
    std::uint8_t type = 0;        // 0 PEQ, 1 HISHELF, 2 LOSHELF, 3 ALLPASS
    std::uint8_t band = 1;        // 1..5, the band's own number
    std::uint8_t flags = 0x80;    // bit 7: bypassed
};

struct CrossoverSettings {
    std::int32_t lowPassFrequency = 393; // 65..394 into FrequencyScale
    std::int32_t highPassFrequency = 0;  // 0..383
    std::int32_t lowPassType = 0;        // 0..27 into FilterTypeNames (28 accepted, no name)
    std::int32_t highPassType = 0;       // -1 straight after decoding a zero type byte
};

// In-memory order: the two switches first (the image keeps another order).
struct DynamicsBlock {
    enum Field : int {
        CompressorSwitch = 0,
        LimiterSwitch = 1,
        CompressorAttack = 2,
        CompressorRelease = 3,
        CompressorThreshold = 4,
        CompressorRatio = 5,
        CompressorBoost = 6,
        LimiterAttack = 7,
        LimiterRelease = 8,
        LimiterThreshold = 9,
        LimiterHold = 10,
        GateAttack = 11,
        GateRelease = 12,
        GateThreshold = 13,
    };
    std::array<std::uint8_t, 14> bytes{0, 0, 60, 60, 23, 63, 0, 0, 60, 127, 0, 60, 100, 2};
    std::uint8_t& operator[](int i) { return bytes[std::size_t(i)]; }
    std::uint8_t operator[](int i) const { return bytes[std::size_t(i)]; }
};

struct MatrixParameters {
    std::array<LevelWord, 17> inputGain{};
    std::array<std::array<LevelWord, 17>, 17> crosspoint{}; // [output][input]
    std::array<LevelWord, 17> outputGain{};
    std::array<std::uint16_t, 17> delay{};   // 0..13650, 0.1 ms steps
    std::array<std::uint8_t, 17> polarity{}; // 0x00 normal, 0x80 inverted
    std::array<std::array<PeqBand, 6>, 17> peq{}; // [output][band 1..5]
    std::array<CrossoverSettings, 17> crossover{};
    std::array<DynamicsBlock, 17> dynamics{};
    std::uint8_t rememberedPage = 0; // editor page shown when the editor opens
    std::uint8_t rememberedTab = 0;  // editor channel tab (0-based)
};
