#include "editor/ResponseCurve.h"

#include "model/MatrixOperations.h"
#include "model/MatrixTables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kFiftyThirds = 50.0 / 3.0;
constexpr int kNoStep = kPeqFrequencyCount; // "no PEQ step reaches this frequency"

constexpr std::array<double, kFrequencyScaleSize> makeCornerScale()
{
    std::array<double, kFrequencyScaleSize> scale{};
    for (int i = 0; i <= 114; ++i)
        scale[std::size_t(i)] = FrequencyScale[std::size_t(i)];
    scale[115] = 91.9;
    for (int i = 116; i <= 390; ++i)
        scale[std::size_t(i)] = FrequencyScale[std::size_t(i - 1)];
    scale[328] = 5550;
    scale[391] = 19000;
    scale[392] = 19400;
    scale[393] = 19800;
    scale[394] = 20000;
    return scale;
}
constexpr std::array<double, kFrequencyScaleSize> kCornerScale = makeCornerScale();

struct ShapeRow {
    int slope;
    double angle;
};
// Knee types by code; rows 8..17 are the peaking types and unused here.
constexpr std::array<ShapeRow, kFilterTypeCount> kKneeShapes{{
    {0, 0},         {6, 108.6038},  {12, 108.6038}, {12, 95.113},   {12, 80.7976},  {12, 64.8074},
    {12, 54.8074},  {12, 44.8074},  {0, 0},         {0, 0},         {0, 0},         {0, 0},
    {0, 0},         {0, 0},         {0, 0},         {0, 0},         {0, 0},         {0, 0},
    {12, 80.7976},  {12, 73.0921},  {18, 59.4463},  {18, 50.7976},  {24, 50.5973},  {24, 35.5973},
    {24, 85.702},   {48, 35.4234},  {48, 24.4234},  {48, 59.4463},
}};
// Peak heights of types 8..17 in dB.
constexpr std::array<double, 10> kPeakHeights{{0.6, 1.2, 1.8, 2.4, 3.0, 3.6, 4.2, 4.8, 5.4, 6.0}};

// cos(2 pi s / 360) for the bell's steps s = 180..540, and the cos(pi) used outside them. The bell
// depends on the step only through this cosine, so a redraw needs no trigonometry for the bands.
// The entries are computed by the very expression the bell is defined with, so the table gives
// the same doubles as computing them in place.
struct BellCosines {
    std::array<double, 361> inRange{};
    double outside = 0;

    BellCosines()
    {
        for (int s = 180; s <= 540; ++s)
            inRange[std::size_t(s - 180)] = std::cos(kTwoPi * s / 360);
        outside = std::cos(kPi);
    }
    double at(int s) const { return s >= 180 && s <= 540 ? inRange[std::size_t(s - 180)] : outside; }
};

const BellCosines& bellCosines()
{
    static const BellCosines table;
    return table;
}

// One band reduced to what varies per step.
struct BandTerm {
    enum Kind { Neutral, Bell, HighShelf, LowShelf };
    Kind kind = Neutral;
    int f = 0;          // the band's PEQ step
    int k = 0;          // PeqScaleIndex of its frequency (= f for scale frequencies)
    double gainDb = 0;
    double l = 0;       // pole radius from the width
    double flat = 80;   // the shelf's level above (HISHELF) or below (LOSHELF) the band
};

double bellWidthRadius(double width)
{
    return 0.3 * width / 97 + 0.6;
}

double bellValue(int step, int k, double gainDb, double l, const BellCosines& cosines)
{
    const int s = step - k + 360;
    const double c = cosines.at(s);
    return gainDb * (1 - l * l) / (1 - 2 * l * c + l * l) * (1 - l) / (1 + l);
}

BandTerm prepareBand(PeqBand band)
{
    NormalizePeqBand(band);
    BandTerm term;
    if (band.flags > 0x7F || band.type > 2)
        return term;
    term.f = band.frequency;
    term.k = PeqScaleIndex(PeqFrequencyAt(band.frequency));
    term.gainDb = (band.gain - 600) / 10.0;
    if (band.type == 0) {
        term.kind = BandTerm::Bell;
        term.l = bellWidthRadius(QValueAt(band.q));
    } else {
        term.kind = band.type == 1 ? BandTerm::HighShelf : BandTerm::LowShelf;
        term.l = bellWidthRadius(3);
        term.flat = std::ceil(75 - ((band.gain - 600) / 3.0) * 150 / 30) + 5;
    }
    return term;
}

double bandContribution(const BandTerm& term, int step, const BellCosines& cosines)
{
    switch (term.kind) {
    case BandTerm::Neutral:
        return 80;
    case BandTerm::HighShelf:
        if (step >= term.f)
            return term.flat;
        break;
    case BandTerm::LowShelf:
        if (step <= term.f)
            return term.flat;
        break;
    case BandTerm::Bell:
        break;
    }
    return 200 - bellValue(step, term.k, term.gainDb, term.l, cosines) * kFiftyThirds - 120;
}

double peqLevel(const std::array<BandTerm, 5>& terms, int step, const BellCosines& cosines)
{
    double sum = 0;
    for (const BandTerm& term : terms)
        sum += bandContribution(term, step, cosines);
    const double d = sum / 2.1;
    return (150 - (d * 3 / 6 - 22)) / 4 - 19;
}

std::array<BandTerm, 5> prepareBands(const MatrixParameters& params, int output)
{
    std::array<BandTerm, 5> terms;
    for (int b = 1; b <= 5; ++b)
        terms[std::size_t(b - 1)] = prepareBand(params.peq[std::size_t(output)][std::size_t(b)]);
    return terms;
}

// The first PEQ step whose frequency is not below the corner; 360 when none is.
int cornerStep(int crossoverIndex)
{
    const double corner = CornerScale(crossoverIndex);
    for (int i = 0; i < kPeqFrequencyCount; ++i) {
        if (FrequencyScale[std::size_t(i + kPeqFrequencyOffset)] >= corner)
            return i;
    }
    return kNoStep;
}

bool validOutput(int output)
{
    return output >= 1 && output <= kChannelCount;
}

} // namespace

double CornerScale(int index)
{
    return kCornerScale[std::size_t(ClampCode(index, 0, kFrequencyScaleSize - 1))];
}

CrossoverShape CrossoverShapes(int type)
{
    CrossoverShape shape;
    if (type >= 8 && type <= 17) {
        shape.kind = CrossoverShape::Peaking;
        shape.peak = kPeakHeights[std::size_t(type - 8)];
    } else if (type >= 1 && type < kFilterTypeCount) {
        shape.kind = CrossoverShape::Knee;
        shape.slope = kKneeShapes[std::size_t(type)].slope;
        shape.angle = kKneeShapes[std::size_t(type)].angle;
    }
    return shape;
}

int PeqScaleIndex(double hz)
{
    if (hz <= 19)
        return 0;
    const auto first = FrequencyScale.begin() + kPeqFrequencyOffset;
    // The scale ascends, so the first entry not below hz is its lower bound.
    return int(std::lower_bound(first, FrequencyScale.end(), hz) - first);
}

double BandBell(int step, double hz, double gainDb, double width)
{
    return bellValue(step, PeqScaleIndex(hz), gainDb, bellWidthRadius(width), bellCosines());
}

double PeqCurveLevel(const MatrixParameters& params, int output, int step)
{
    std::array<BandTerm, 5> terms{};
    if (validOutput(output))
        terms = prepareBands(params, output);
    return peqLevel(terms, step, bellCosines());
}

void ComputeResponseCurve(const MatrixParameters& params, int output, bool shadow, CurvePointList& points)
{
    points.clear();
    if (!validOutput(output))
        return;

    CrossoverSettings crossover = params.crossover[std::size_t(output)];
    NormalizeCrossover(crossover);
    const int li = crossover.lowPassFrequency;
    const int hi = crossover.highPassFrequency;
    const CrossoverShape low = CrossoverShapes(crossover.lowPassType);
    const CrossoverShape high = CrossoverShapes(crossover.highPassType);

    const int l0 = cornerStep(li);
    const int h0 = cornerStep(hi);
    const int lc = low.kind == CrossoverShape::Peaking ? li - 29 : l0;
    const int hc = high.kind == CrossoverShape::Peaking ? hi - 36 : h0;
    const int mid = (lc + hc) / 2;

    const double lowAngle = low.angle;
    const double highAngle = 180 - high.angle;
    // The high-pass knee of a corner below the PEQ grid is counted from its own index.
    const int highOrigin = hi < 36 ? hi - 72 : h0 - 36;

    const BellCosines& cosines = bellCosines();
    const std::array<BandTerm, 5> terms = prepareBands(params, output);

    for (int m = kCurveFirstStep; m <= kCurveLastStep; ++m) {
        double yL = 0;
        if (low.kind == CrossoverShape::Peaking) {
            const double p = low.peak;
            if (m > lc)
                yL = double(m - lc) * (m - lc) * (p - 12) / 1296 + p;
            else if (m > mid)
                yL = double(m - mid) * (m - mid) * p / (double(lc - mid) * (lc - mid));
        } else if (low.kind == CrossoverShape::Knee) {
            const double alpha = lowAngle + (180 - lowAngle) / 36 * (m - l0);
            if (alpha > 0 && alpha < 180) {
                const double r = kTwoPi * alpha / 360;
                yL = (std::sin(r) / r - 1) * low.slope;
            } else if (alpha >= 180) {
                yL = double(3 - low.slope) * (m - l0) / 36 - 3;
            }
        }

        double yH = 0;
        if (high.kind == CrossoverShape::Peaking) {
            const double p = high.peak;
            if (m < hc)
                yH = double(m - hc) * (m - hc) * (p - 12) / 1296 + p;
            else if (m < mid)
                yH = double(m - mid) * (m - mid) * p / (double(hc - mid) * (hc - mid));
        } else if (high.kind == CrossoverShape::Knee) {
            const double beta = (m - highOrigin) * highAngle / 36;
            if (beta > 0 && beta < 180) {
                const double r = kTwoPi * beta / 360;
                yH = (std::sin(r - kPi) / (r - kPi) - 1) * high.slope;
            } else if (beta <= 0) {
                yH = double(m - h0) * (3 - high.slope) / -36 - 3;
            }
        }

        const double y = yL + yH;
        const int p = int(std::floor((12 - y) * 5 + 30)) - 10;
        const double v = ((160 - p) / 8.0 * 2 - 20) * 3 / 4 + peqLevel(terms, m, cosines);
        const double x = FrequencyScale[std::size_t(m + kPeqFrequencyOffset)];
        if (shadow)
            points.add(x, kCurveFloor);
        if (v > kCurveFloor)
            points.add(x, v);
    }
}

void DrawResponseCurvePoints(MatrixParameters& params, int output, bool shadow, CurvePointList& points)
{
    NormalizeMatrixParameters(params);
    ComputeResponseCurve(params, output, shadow, points);
}
