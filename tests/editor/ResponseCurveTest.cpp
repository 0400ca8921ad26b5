#include "editor/ResponseCurve.h"
#include "model/MatrixOperations.h"
#include "model/MatrixTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

constexpr double kSixDecimals = 5e-7;
constexpr double kNeutral = 0.190476;

// Output 1 of the "New" defaults: every band bypassed, both filters "FLAT THRU".
class ResponseCurveTest : public ::testing::Test {
protected:
    ResponseCurveTest() { ResetMatrixDefaults(m_params); }

    PeqBand& band(int b) { return m_params.peq[1][std::size_t(b)]; }
    CrossoverSettings& crossover() { return m_params.crossover[1]; }

    const CurvePointList& draw(bool shadow = false)
    {
        DrawResponseCurvePoints(m_params, 1, shadow, m_points);
        return m_points;
    }

    // The curve point drawn at hz (the curve has one per frequency when not shadowed).
    std::optional<double> at(double hz) const
    {
        for (const CurvePoint& p : m_points) {
            if (p.x == hz && p.y != kCurveFloor)
                return p.y;
        }
        return std::nullopt;
    }

    void setBand(int b, int type, int frequency, int gain, int q = 20)
    {
        band(b).type = std::uint8_t(type);
        band(b).frequency = frequency;
        band(b).gain = gain;
        band(b).q = std::uint8_t(q);
        band(b).flags = 0;
    }

    MatrixParameters m_params;
    CurvePointList m_points;
};

#define EXPECT_CURVE_AT(hz, expected)                                                              \
    do {                                                                                           \
        const auto y = at(hz);                                                                     \
        ASSERT_TRUE(y.has_value()) << "no point at " << (hz) << " Hz";                             \
        EXPECT_NEAR(*y, (expected), kSixDecimals) << "at " << (hz) << " Hz";                      \
    } while (0)

TEST_F(ResponseCurveTest, NeutralBandsAndFlatFiltersGiveAFlatLineOverTheWholeGrid)
{
    for (bool allPass : {false, true}) {
        ResetMatrixDefaults(m_params);
        if (allPass) {
            for (int b = 1; b <= 5; ++b)
                setBand(b, 3, 100 + b, 720, 90);
        }
        const CurvePointList& points = draw();
        ASSERT_EQ(points.size(), 394);
        EXPECT_EQ(points[0].x, 10.2);
        EXPECT_EQ(points.back().x, 20200);
        for (int i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].x, FrequencyScale[std::size_t(i + 1)]);
            EXPECT_NEAR(points[i].y, kNeutral, kSixDecimals);
        }
    }
}

TEST_F(ResponseCurveTest, ShadowDropsToTheFloorBeforeEveryPoint)
{
    const CurvePointList& points = draw(true);
    ASSERT_EQ(points.size(), 788);
    for (int i = 0; i < 788; i += 2) {
        EXPECT_EQ(points[i].x, points[i + 1].x);
        EXPECT_EQ(points[i].y, -80);
        EXPECT_NEAR(points[i + 1].y, kNeutral, kSixDecimals);
    }
}

TEST_F(ResponseCurveTest, PeqBellPeaksAtItsFrequency)
{
    setBand(3, 0, 203, 720, 20);
    const CurvePointList& points = draw();
    const CurvePoint* highest = points.begin();
    for (const CurvePoint& p : points) {
        if (p.y > highest->y)
            highest = &p;
    }
    EXPECT_EQ(highest->x, 1000);
    EXPECT_NEAR(highest->y, 12.095238, kSixDecimals);
    EXPECT_CURVE_AT(500, 4.906311);
    EXPECT_CURVE_AT(2000, 4.906311);
}

TEST_F(ResponseCurveTest, ShelvesAreHalfABellAndAFlatPart)
{
    setBand(1, 1, 203, 660);
    draw();
    EXPECT_CURVE_AT(981, 6.135630);
    EXPECT_CURVE_AT(500, 2.548394);
    for (const CurvePoint& p : m_points) {
        if (p.x >= 1000) {
            EXPECT_NEAR(p.y, 6.142857, kSixDecimals) << p.x;
        }
    }

    ResetMatrixDefaults(m_params);
    setBand(1, 2, 203, 540);
    draw();
    EXPECT_CURVE_AT(1020, -5.754677);
    for (const CurvePoint& p : m_points) {
        if (p.x <= 1000) {
            EXPECT_NEAR(p.y, -5.761905, kSixDecimals) << p.x;
        }
    }
}

TEST_F(ResponseCurveTest, ButterworthLowPassKneeAndSlope)
{
    crossover().lowPassType = 19; // "12dB Butterworth"
    crossover().lowPassFrequency = 274;
    draw();
    EXPECT_CURVE_AT(1000, 0.190476);
    EXPECT_CURVE_AT(1960, -2.434524);
    EXPECT_CURVE_AT(2000, -2.809524);
    EXPECT_CURVE_AT(4000, -11.247024);
}

TEST_F(ResponseCurveTest, ButterworthHighPassKneeAndSlope)
{
    crossover().highPassType = 19;
    crossover().highPassFrequency = 100;
    draw();
    EXPECT_CURVE_AT(68.8, -2.434524);
    EXPECT_CURVE_AT(34.4, -11.059524);
    for (const CurvePoint& p : m_points) {
        if (p.x >= 138) {
            EXPECT_NEAR(p.y, kNeutral, kSixDecimals) << p.x;
        }
    }
}

TEST_F(ResponseCurveTest, HighPassCornerBelowThePeqGridCountsFromItsOwnIndex)
{
    crossover().highPassType = 19;
    crossover().highPassFrequency = 35;
    draw();
    EXPECT_CURVE_AT(19.3, -2.434524);

    crossover().highPassFrequency = 36;
    draw();
    EXPECT_CURVE_AT(20.1, -2.434524);
}

TEST_F(ResponseCurveTest, SteepLowPassLeavesOutPointsBelowTheFloor)
{
    crossover().lowPassType = 25; // "48dB Butterworth"
    crossover().lowPassFrequency = 200;
    const CurvePointList& points = draw();
    EXPECT_EQ(points.back().x, 1680);
    EXPECT_NEAR(points.back().y, -79.872024, kSixDecimals);
    EXPECT_EQ(points.size(), 265);

    EXPECT_EQ(draw(true).size(), 659);
}

TEST_F(ResponseCurveTest, UnnamedTypeDrawsLikeFlatThru)
{
    crossover().lowPassType = 28;
    crossover().highPassType = 28;
    crossover().lowPassFrequency = 200;
    crossover().highPassFrequency = 150;
    const CurvePointList& points = draw();
    ASSERT_EQ(points.size(), 394);
    for (const CurvePoint& p : points)
        EXPECT_NEAR(p.y, kNeutral, kSixDecimals);
    EXPECT_EQ(crossover().lowPassType, 28) << "28 survives normalisation";
}

TEST_F(ResponseCurveTest, PeakingHighPassWithItsMidStepAtTheCorner)
{
    crossover().lowPassType = 19;
    crossover().lowPassFrequency = 200;
    CurvePointList lowPassOnly;
    DrawResponseCurvePoints(m_params, 1, false, lowPassOnly);

    crossover().highPassType = 12; // "12dB/1.5"
    crossover().highPassFrequency = 200;
    const CurvePointList& points = draw();
    // The mid step is the high-pass corner step 164, where the rise branch would divide by zero;
    // it is never entered. Far below the corner the fall passes the floor, so the curve is the
    // grid from some step up to the end with no gap, and from step 164 only the low-pass acts.
    ASSERT_GT(points.size(), 164 - kCurveFirstStep);
    ASSERT_EQ(lowPassOnly.size(), 394);
    const int firstStep = kCurveLastStep + 1 - points.size();
    for (int i = 0; i < points.size(); ++i) {
        const int step = firstStep + i;
        ASSERT_EQ(points[i].x, FrequencyScale[std::size_t(step + kPeqFrequencyOffset)]) << step;
        ASSERT_TRUE(std::isfinite(points[i].y)) << step;
        const double expected = lowPassOnly[step - kCurveFirstStep].y;
        if (step >= 164) {
            EXPECT_EQ(points[i].y, expected) << step;
        } else if (step >= 160) {
            EXPECT_GT(points[i].y - expected, 2.5) << "the peak just below the corner, step " << step;
        }
    }
}

TEST_F(ResponseCurveTest, CurveNormalisesFirstAndLeavesOtherCallersUnchanged)
{
    crossover().highPassType = -1; // as decoded from a zero type byte
    crossover().lowPassFrequency = 9000;
    band(2).gain = 5000;
    band(2).flags = 0;

    const MatrixParameters before = m_params;
    CurvePointList fromConst;
    ComputeResponseCurve(before, 1, true, fromConst);

    draw(true);
    EXPECT_EQ(crossover().highPassType, 0);
    EXPECT_EQ(crossover().lowPassFrequency, 394);
    EXPECT_EQ(band(2).gain, 720);
    ASSERT_EQ(fromConst.size(), m_points.size());
    for (int i = 0; i < m_points.size(); ++i)
        EXPECT_EQ(fromConst[i].y, m_points[i].y);
}

TEST_F(ResponseCurveTest, OutputOutsideTheUnitDrawsNothing)
{
    DrawResponseCurvePoints(m_params, 0, true, m_points);
    EXPECT_TRUE(m_points.empty());
    DrawResponseCurvePoints(m_params, 17, false, m_points);
    EXPECT_TRUE(m_points.empty());
    EXPECT_NEAR(PeqCurveLevel(m_params, 17, 10), kNeutral, kSixDecimals);
}

TEST(PeqCurveLevel, EachBandAddsAboutOneDbPerDb)
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    const double neutral = PeqCurveLevel(params, 4, 0);
    EXPECT_NEAR(neutral, kNeutral, kSixDecimals);
    PeqBand& band = params.peq[4][1];
    band.flags = 0;
    band.gain = 610; // +1 dB at its own step
    EXPECT_NEAR(PeqCurveLevel(params, 4, band.frequency) - neutral, 50.0 / 3 / 16.8, 1e-9);
}

TEST(BandBell, EqualsItsGainAtTheBandAndLevelsOffFiveOctavesAway)
{
    const double hz = 1000; // step 203
    const double width = 3;
    EXPECT_NEAR(BandBell(203, hz, 12, width), 12, 1e-9);
    EXPECT_DOUBLE_EQ(BandBell(203 - 50, hz, 12, width), BandBell(203 + 50, hz, 12, width));
    const double l = 0.3 * width / 97 + 0.6;
    const double tail = 12 * std::pow((1 - l) / (1 + l), 2);
    EXPECT_NEAR(BandBell(203 + 180, hz, 12, width), tail, 1e-9);
    EXPECT_EQ(BandBell(203 + 181, hz, 12, width), BandBell(203 + 300, hz, 12, width));
    EXPECT_EQ(BandBell(203 - 181, hz, 12, width), BandBell(203 + 181, hz, 12, width));
    EXPECT_LT(BandBell(213, hz, 12, 128), BandBell(213, hz, 12, 0.4)) << "a larger width is narrower";
}

TEST(PeqScaleIndex, FindsTheStepOfEveryPeqFrequency)
{
    for (int f = 0; f < kPeqFrequencyCount; ++f)
        EXPECT_EQ(PeqScaleIndex(PeqFrequencyAt(f)), f);
    EXPECT_EQ(PeqScaleIndex(19), 0);
    EXPECT_EQ(PeqScaleIndex(5), 0);
    EXPECT_EQ(PeqScaleIndex(1001), 204);
    EXPECT_EQ(PeqScaleIndex(20200.5), 360);
}

TEST(CornerScale, PlacesCornersOneStepBelowTheShownFrequencyFrom116)
{
    EXPECT_EQ(CornerScale(0), 10);
    EXPECT_EQ(CornerScale(114), 90.1);
    EXPECT_EQ(CornerScale(115), 91.9);
    EXPECT_EQ(CornerScale(116), 94);
    EXPECT_EQ(CornerScale(274), 1960);
    EXPECT_EQ(CornerScale(327), 5440);
    EXPECT_EQ(CornerScale(328), 5550);
    EXPECT_EQ(CornerScale(390), FrequencyScale[389]);
    EXPECT_EQ(CornerScale(391), 19000);
    EXPECT_EQ(CornerScale(393), 19800);
    EXPECT_EQ(CornerScale(394), 20000);
    EXPECT_EQ(CornerScale(-5), 10);
    EXPECT_EQ(CornerScale(70000), 20000);
}

TEST(CrossoverShapes, KindsSlopesAnglesAndPeaks)
{
    EXPECT_EQ(CrossoverShapes(0).kind, CrossoverShape::Flat);
    EXPECT_EQ(CrossoverShapes(28).kind, CrossoverShape::Flat);
    EXPECT_EQ(CrossoverShapes(-1).kind, CrossoverShape::Flat);
    EXPECT_EQ(CrossoverShapes(255).kind, CrossoverShape::Flat);

    const CrossoverShape first = CrossoverShapes(1);
    EXPECT_EQ(first.kind, CrossoverShape::Knee);
    EXPECT_EQ(first.slope, 6);
    EXPECT_EQ(first.angle, 108.6038);
    const CrossoverShape last = CrossoverShapes(27);
    EXPECT_EQ(last.slope, 48);
    EXPECT_EQ(last.angle, 59.4463);
    EXPECT_EQ(CrossoverShapes(24).angle, 85.702);

    EXPECT_EQ(CrossoverShapes(7).kind, CrossoverShape::Knee);
    EXPECT_EQ(CrossoverShapes(18).kind, CrossoverShape::Knee);
    for (int type = 8; type <= 17; ++type) {
        const CrossoverShape shape = CrossoverShapes(type);
        EXPECT_EQ(shape.kind, CrossoverShape::Peaking);
        EXPECT_NEAR(shape.peak, 0.6 * (type - 7), 1e-12);
    }
}

} // namespace
