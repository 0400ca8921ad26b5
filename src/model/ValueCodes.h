#pragma once
#include "model/MatrixParameters.h"

#include <cmath>
#include <cstdint>

// One-line conversions between the integer codes of MatrixParameters and what they mean. None of
// them indexes a table, so they take any code; callers that show a value clamp it first (see
// MatrixTexts.h).

inline constexpr int kLevelCodeMin = 200;     // -40.0 dB
inline constexpr int kLevelCodeMax = 660;     // +6.0 dB
inline constexpr int kLevelCodeZeroDb = 600;  // 0.0 dB
inline constexpr LevelWord kLevelMask = 0x7FFF;
// A read-back word above this counts as muted (the mute bit plus any level of 0x7FF9 or more).
inline constexpr LevelWord kMutedAbove = 32760;

inline constexpr int kPeqGainMin = 480; // -12.0 dB
inline constexpr int kPeqGainMax = 720; // +12.0 dB
inline constexpr std::uint8_t kBandBypassed = 0x80;

inline constexpr int kDelayCodeMax = 13650; // 1365.0 ms in 0.1 ms steps
inline constexpr double kMetresPerMs = 0.343;
inline constexpr double kFeetPerMs = 1.126;

inline constexpr std::uint8_t kPolarityNormal = 0x00;
inline constexpr std::uint8_t kPolarityInverted = 0x80;
// A compressor or limiter switch byte of exactly 0x80 puts the block in circuit.
inline constexpr std::uint8_t kDynamicsInCircuit = 0x80;

constexpr int LevelCodeOf(LevelWord word) { return word & kLevelMask; }
constexpr bool IsMutedWord(LevelWord word) { return word > kMutedAbove; }
constexpr LevelWord MakeLevelWord(int code, bool muted)
{
    return LevelWord((code & kLevelMask) | (muted ? kMuteBit : 0));
}
// Level in dB of a level code (or a PEQ gain code): (code - 600) / 10.
constexpr double LevelDbOf(int code) { return (code - kLevelCodeZeroDb) / 10.0; }
// An entered dB value as a level or gain code: floor(v * 10 + 600 + 0.5).
inline int LevelCodeFromDb(double db) { return int(std::floor(db * 10 + kLevelCodeZeroDb + 0.5)); }

constexpr double DelayMsOf(int code) { return code / 10.0; }
constexpr double DelayMetresOf(int code) { return DelayMsOf(code) * kMetresPerMs; }
constexpr double DelayFeetOf(int code) { return DelayMsOf(code) * kFeetPerMs; }

// Limiter threshold code 1..127 in dB: 10 - (127 - code) * 0.5 (code 0 means "-Inf").
constexpr double LimiterThresholdDbOf(int code) { return 10 - (127 - code) * 0.5; }
