#pragma once
#include <QString>
#include <cstdint>

// The rules that turn what the operator enters on the Comp/Limit page into DynamicsBlock codes,
// and the switch byte convention. Plain functions over the model's tables, no widgets; every
// function takes any input (out of range, huge, not a number) and returns a valid code.

// Compressor and noise-gate attack typed in ms: the first AttackTable code whose entry reaches
// floor(ms * 100), 127 when none does (5 -> 78 "5.05ms", 2.3 -> 66 "2.35ms", 150 -> 127).
int AttackCodeFromMs(double ms);
// Limiter attack typed in us: the first LimiterAttackTable code, in table order, whose entry
// reaches floor(us * 10), 127 when none does. The table falls back at code 60, and the search
// still takes the first match: 45 -> 38 (45.3us, never 64 at 45.0us), 60 -> 76.
int LimiterAttackCodeFromUs(double us);
// Any release typed in ms: the first ReleaseTable code whose entry reaches floor(ms)
// (150 -> 63 "160ms"), 127 when none does.
int ReleaseCodeFromMs(double ms);
// Compressor ratio typed as n (shown "n:128"): the box takes 1..128, the code is floor(n) - 1.
int RatioCodeFromEntry(double ratio);

// Limiter threshold typed as text (read with NumericEntryParser; unreadable text counts as -60):
// above 10 dB becomes 10.2; inside (-53.5, 10.5) the code is floor((v + 53.5) / 0.5), else 0
// ("-Inf"). -20 -> 67, -20.3 -> 66, -53.4 -> 0, 11 -> 127.
int LimiterThresholdCodeFromText(const QString& text);
int LimiterThresholdCodeFromDb(double db);
// Compressor threshold typed as text (unreadable text counts as -40): above 12 dB gives code 29;
// otherwise the first CompressorThresholdTable code whose entry reaches v, where anything at or
// below -24.5 dB aims at -30 and so gives code 0 ("-Inf"). -23 -> 2 (-21dB), -25 -> 0, 13 -> 29.
int CompressorThresholdCodeFromText(const QString& text);
int CompressorThresholdCodeFromDb(double db);

// Compressor and limiter switches: the LED is lit while the block is out of circuit. A lit switch
// stores 0x00, a dark one 0x80; a stored byte shows lit unless it is exactly 0x80.
std::uint8_t DynamicsSwitchByte(bool lit);
bool IsDynamicsSwitchLit(std::uint8_t byte);
