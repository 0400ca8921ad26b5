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
struct BellCosines {
    std::array<double, 361> inRange{};
    double outside = 0;

    BellCosines()
    {
        for (int s = 180; s <= 540; ++s)
            inRange[std::size_t(s - 180)] = std::cos(kTwoPi * s / 360);
        outside = std::cos(kPi);
    }
};

const BellCosines& bellCosines()
{
    static const BellCosines table;
    return table;
}

double bellWidthRadius(double width)
{
    return 0.3 * width / 97 + 0.6;
}

// G (1 - l^2) / (1 - 2 l cos(theta) + l^2) * (1 - l) / (1 + l), with everything but the cosine
// folded into two constants: one division per band and step.
struct BellShape {
    double numerator = 0; // G (1 - l^2) (1 - l) / (1 + l)
    double twoL = 0;
    double onePlusL2 = 1;
    double tail = 0;      // the value outside s = 180..540, where theta = pi

    BellShape() = default;
    BellShape(double gainDb, double l, const BellCosines& cosines)
        : numerator(gainDb * (1 - l * l) * (1 - l) / (1 + l)), twoL(2 * l), onePlusL2(1 + l * l)
    {
        tail = numerator / (onePlusL2 - twoL * cosines.outside);
    }
    // s = step - bandStep + 360
    double at(int s, const BellCosines& cosines) const
    {
        if (s < 180 || s > 540)
            return tail;
        return numerator / (onePlusL2 - twoL * cosines.inRange[std::size_t(s - 180)]);
    }
};

// The knee of a non-peaking filter depends on the step only through its integer distance from the
// corner, so its values for every type are computed once and looked up on each redraw. Low-pass:
// offset j = m - L0; the table holds j = -60..40, which contains every knee (0 < alpha < 180 needs
// j > -55 and j < 36 for all types); below it yL is 0, above it the straight slope. High-pass:
// offset t = m - H0 + 36 (m - Hi + 72 below index 36); the table holds t = 1..100 (the knee
// ends by t = 91 for all types); above it yH is 0, at or below 0 the straight slope.
struct KneeTables {
    static constexpr int kLowFirst = -60;
    static constexpr int kLowLast = 40;
    static constexpr int kHighLast = 100;
    std::array<std::array<double, kLowLast - kLowFirst + 1>, kFilterTypeCount> low{};
    std::array<std::array<double, kHighLast>, kFilterTypeCount> high{};

    KneeTables()
    {
        for (int type = 1; type < kFilterTypeCount; ++type) {
            const ShapeRow shape = kKneeShapes[std::size_t(type)];
            if (shape.slope == 0)
                continue;
            for (int j = kLowFirst; j <= kLowLast; ++j)
                low[std::size_t(type)][std::size_t(j - kLowFirst)] = lowPassKnee(shape, j);
            for (int t = 1; t <= kHighLast; ++t)
                high[std::size_t(type)][std::size_t(t - 1)] = highPassKnee(shape, t);
        }
    }

    static double lowPassKnee(ShapeRow shape, int j)
    {
        const double a = shape.angle;
        const double alpha = a + (180 - a) / 36 * j;
        if (alpha > 0 && alpha < 180) {
            const double r = kTwoPi * alpha / 360;
            return (std::sin(r) / r - 1) * shape.slope;
        }
        if (alpha <= 0)
            return 0;
        return double(3 - shape.slope) * j / 36 - 3;
    }
    // For t >= 1 (beta > 0).
    static double highPassKnee(ShapeRow shape, int t)
    {
        const double beta = t * (180 - shape.angle) / 36;
        if (beta < 180) {
            const double r = kTwoPi * beta / 360;
            return (std::sin(r - kPi) / (r - kPi) - 1) * shape.slope;
        }
        return 0;
    }

    double lowAt(int type, int slope, int j) const
    {
        if (j < kLowFirst)
            return 0;
        if (j > kLowLast)
            return double(3 - slope) * j / 36 - 3;
        return low[std::size_t(type)][std::size_t(j - kLowFirst)];
    }
    // fromCorner = m - H0, the distance the slope below the knee is counted from.
    double highAt(int type, int slope, int t, int fromCorner) const
    {
        if (t <= 0)
            return double(fromCorner) * (3 - slope) / -36 - 3;
        if (t > kHighLast)
            return 0;
        return high[std::size_t(type)][std::size_t(t - 1)];
    }
};

const KneeTables& kneeTables()
{
    static const KneeTables tables;
    return tables;
}

// One band reduced to what varies per step.
struct BandTerm {
    enum Kind { Neutral, Bell, HighShelf, LowShelf };
    Kind kind = Neutral;
    int f = 0;          // the band's PEQ step
    int k = 0;          // PeqScaleIndex of its frequency (= f for scale frequencies)
    BellShape bell;
    double flat = 80;   // the shelf's level above (HISHELF) or below (LOSHELF) the band
};

BandTerm prepareBand(PeqBand band, const BellCosines& cosines)
{
    NormalizePeqBand(band);
    BandTerm term;
    if (band.flags > 0x7F || band.type > 2)
        return term;
    term.f = band.frequency;
    term.k = PeqScaleIndex(PeqFrequencyAt(band.frequency));
    const double gainDb = (band.gain - 600) / 10.0;
    if (band.type == 0) {
        term.kind = BandTerm::Bell;
        term.bell = BellShape(gainDb, bellWidthRadius(QValueAt(band.q)), cosines);
    } else {
        term.kind = band.type == 1 ? BandTerm::HighShelf : BandTerm::LowShelf;
        term.bell = BellShape(gainDb, bellWidthRadius(3), cosines);
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
    return 200 - term.bell.at(step - term.k + 360, cosines) * kFiftyThirds - 120;
}

double peqLevel(const std::array<BandTerm, 5>& terms, int step, const BellCosines& cosines)
{
    double sum = 0;
    for (const BandTerm& term : terms)
        sum += bandContribution(term, step, cosines);
    const double d = sum / 2.1;
    return (150 - (d * 3 / 6 - 22)) / 4 - 19;
}

std::array<BandTerm, 5> prepareBands(const MatrixParameters& params, int output, const BellCosines& cosines)
{
    std::array<BandTerm, 5> terms;
    for (int b = 1; b <= 5; ++b)
        terms[std::size_t(b - 1)] = prepareBand(params.peq[std::size_t(output)][std::size_t(b)], cosines);
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
    const BellCosines& cosines = bellCosines();
    return BellShape(gainDb, bellWidthRadius(width), cosines).at(step - PeqScaleIndex(hz) + 360, cosines);
}

double PeqCurveLevel(const MatrixParameters& params, int output, int step)
{
    std::array<BandTerm, 5> terms{};
    if (validOutput(output))
        terms = prepareBands(params, output, bellCosines());
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

    // The high-pass knee of a corner below the PEQ grid is counted from its own index.
    const int highOrigin = hi < 36 ? hi - 72 : h0 - 36;
    const int lowType = crossover.lowPassType;
    const int highType = crossover.highPassType;

    const BellCosines& cosines = bellCosines();
    const KneeTables& knees = kneeTables();
    const std::array<BandTerm, 5> terms = prepareBands(params, output, cosines);

    for (int m = kCurveFirstStep; m <= kCurveLastStep; ++m) {
        double yL = 0;
        if (low.kind == CrossoverShape::Peaking) {
            const double p = low.peak;
            if (m > lc)
                yL = double(m - lc) * (m - lc) * (p - 12) / 1296 + p;
            else if (m > mid)
                yL = double(m - mid) * (m - mid) * p / (double(lc - mid) * (lc - mid));
        } else if (low.kind == CrossoverShape::Knee) {
            yL = knees.lowAt(lowType, low.slope, m - l0);
        }

        double yH = 0;
        if (high.kind == CrossoverShape::Peaking) {
            const double p = high.peak;
            if (m < hc)
                yH = double(m - hc) * (m - hc) * (p - 12) / 1296 + p;
            else if (m < mid)
                yH = double(m - mid) * (m - mid) * p / (double(hc - mid) * (hc - mid));
        } else if (high.kind == CrossoverShape::Knee) {
            yH = knees.highAt(highType, high.slope, m - highOrigin, m - h0);
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
