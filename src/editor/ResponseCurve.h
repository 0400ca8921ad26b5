#pragma once
#include "editor/CurvePointList.h"
#include "model/MatrixParameters.h"

// The response curve of one output: its five PEQ bands and its two crossover filters as a level
// over the editor's frequency grid. A fixed, cheap approximation (bells, half bells, a sin(r)/r
// knee with a straight slope, parabolic peaks), defined step by step so that the same parameters
// always give the same points. No state is kept between redraws.
//
// Grid: steps m = -34 .. 359, step m at FrequencyScale[m + 35] (10.2 Hz .. 20200 Hz); steps 0..359
// are the PEQ frequency indices. 36 steps make about one octave.

inline constexpr int kCurveFirstStep = -34;
inline constexpr int kCurveLastStep = 359;
inline constexpr double kCurveFloor = -80; // points at or below are left out; "Shadow" drops here

// Plot axes: logarithmic 10 Hz with a span of 20200 Hz; -15 .. +15 dB.
inline constexpr double kCurveAxisMinHz = 10;
inline constexpr double kCurveAxisSpanHz = 20200;
inline constexpr double kCurveAxisMinDb = -15;
inline constexpr double kCurveAxisSpanDb = 30;

// The frequency at which a crossover corner is placed on the grid, by crossover frequency index
// (clamped into 0..394). Equal to FrequencyScale up to index 114, one entry lower from 116 to 390.
double CornerScale(int index);

// Shape of a crossover filter type. A low-pass knee uses angle, a high-pass 180 - angle.
struct CrossoverShape {
    enum Kind { Flat, Knee, Peaking };
    Kind kind = Flat;
    int slope = 0;      // dB, Knee only
    double angle = 0;   // degrees, Knee only
    double peak = 0;    // dB, Peaking only ("12dB/1.1" .. "12dB/2.0")
};
// By crossover type code; Flat for 0 and for every code outside 1..27 (28 draws as "FLAT THRU").
CrossoverShape CrossoverShapes(int type);

// The PEQ grid step of a frequency: 0 up to 19 Hz, else the first PEQ index whose frequency is not
// below hz, 360 when there is none (above 20200 Hz).
int PeqScaleIndex(double hz);

// One band's bell in dB at step m for a band at hz with gain gainDb; a larger width is narrower.
// Equals gainDb at the band's own step and levels off 180 steps away.
double BandBell(int step, double hz, double gainDb, double width);

// What the five bands of output (1..16) add at step m, on the plot's scale (five neutral bands
// give 0.190476). Band values are read as NormalizeMatrixParameters would leave them; params is
// not changed. An output outside 1..16 gives the neutral level.
double PeqCurveLevel(const MatrixParameters& params, int output, int step);

// The exact trace of output (1..16), in drawing order: with shadow, a (x, -80) point before every
// curve point; curve points at or below -80 are left out. Reads the output's values as
// NormalizeMatrixParameters would leave them, without changing params; an output outside 1..16
// gives an empty list.
void ComputeResponseCurve(const MatrixParameters& params, int output, bool shadow, CurvePointList& points);

// What the editor does to draw the curve: NormalizeMatrixParameters on all outputs (so the pages
// show the clamped values), then ComputeResponseCurve.
void DrawResponseCurvePoints(MatrixParameters& params, int output, bool shadow, CurvePointList& points);
