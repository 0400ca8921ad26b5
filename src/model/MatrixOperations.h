#pragma once
#include "model/MatrixParameters.h"

struct ParameterStore;

// Whole-parameter operations on MatrixParameters. They touch all 16 inputs and outputs whatever
// the configuration; GUI thread (or the CLI's only thread). Nothing here updates a window: a
// caller that shows the parameters refreshes its own views afterwards.

inline constexpr int kChannelCount = 16;
inline constexpr int kBandCount = 5;

// The "New" defaults: inputs and outputs muted at 0.0 dB, crosspoints open at 0.0 dB, no delay,
// normal polarity, every band a bypassed 1 kHz PEQ with Q 3.0, both crossover filters "FLAT THRU"
// (high-pass at 10 Hz, low-pass at 19.8 kHz), the dynamics defaults of DynamicsBlock. The
// remembered editor page and tab are kept.
void ResetMatrixDefaults(MatrixParameters& params);

// Clamps one output's crossover: low-pass index 65..394, high-pass index 0..383, types 0..28.
void NormalizeCrossover(CrossoverSettings& crossover);
// Clamps one band: frequency 0..359, gain 480..720, Q 0..104, type 0..3, band number 0..5. The
// flags byte is kept as it is.
void NormalizePeqBand(PeqBand& band);
// Both of the above for every output 1..16. The editor runs it before every curve drawing, so a
// decoded type of -1 becomes 0 ("FLAT THRU") before it is shown.
void NormalizeMatrixParameters(MatrixParameters& params);

// Sets the mute bit of the output gain word of outputs 1..16 (after an output copy, a program
// recall or a program store, when the unit's outputs come back muted).
void MarkAllOutputsMuted(MatrixParameters& params);

// Model selection: stores the configuration code (clamped into 3..11) with its input and output
// counts, then ResetMatrixDefaults.
void SelectDeviceModel(ParameterStore& store, int code);
