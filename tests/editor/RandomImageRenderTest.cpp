// Images from files and units can hold any byte. Every text, lookup and curve step must stay inside
// its table whatever an image decodes to; this suite is also run in the sanitizer build, where an
// out-of-bounds read or an undefined conversion fails it.
#include "editor/ResponseCurve.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "model/MatrixTables.h"
#include "model/MatrixTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<MatrixImage> sampleImages()
{
    std::vector<MatrixImage> images;
    for (std::uint8_t fill : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
        MatrixImage image;
        image.fill(fill);
        images.push_back(image);
    }
    images.push_back(DefaultMatrixImage());
    std::mt19937 rng(1600);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 300; ++i) {
        MatrixImage image;
        for (auto& b : image)
            b = std::uint8_t(byte(rng));
        images.push_back(image);
    }
    return images;
}

// A numeric text shows the nearest valid code: the same text as the code clamped into range.
void expectNearestValid(QString (*text)(int), int code, int low, int high, const char* what)
{
    const QString shown = text(code);
    EXPECT_FALSE(shown.isEmpty()) << what << " " << code;
    EXPECT_EQ(shown, text(ClampCode(code, low, high))) << what << " " << code;
}

// A name is either the table's entry or, out of range, empty.
template <std::size_t N>
void expectNameOrEmpty(QString (*text)(int), const std::array<const char*, N>& names, int code, const char* what)
{
    const QString expected = code >= 0 && code < int(N) ? QString::fromLatin1(names[std::size_t(code)]) : QString();
    EXPECT_EQ(text(code), expected) << what << " " << code;
}

void renderEveryText(const MatrixParameters& p)
{
    for (std::size_t c = 1; c <= 16; ++c) {
        EXPECT_FALSE(LevelDbText(p.inputGain[c]).isEmpty());
        EXPECT_FALSE(LevelDbText(p.outputGain[c]).isEmpty());
        for (std::size_t i = 1; i <= 16; ++i)
            EXPECT_FALSE(LevelDbText(p.crosspoint[c][i]).isEmpty());
        expectNearestValid(DelayMsText, p.delay[c], 0, 13650, "delay ms");
        expectNearestValid(DelayMetresText, p.delay[c], 0, 13650, "delay m");
        expectNearestValid(DelayFeetText, p.delay[c], 0, 13650, "delay ft");

        const CrossoverSettings& x = p.crossover[c];
        expectNearestValid(CrossoverFrequencyText, x.lowPassFrequency, 0, 394, "low-pass frequency");
        expectNearestValid(CrossoverFrequencyText, x.highPassFrequency, 0, 394, "high-pass frequency");
        expectNameOrEmpty(FilterTypeText, FilterTypeNames, x.lowPassType, "low-pass type");
        expectNameOrEmpty(FilterTypeText, FilterTypeNames, x.highPassType, "high-pass type");

        for (std::size_t b = 1; b <= 5; ++b) {
            const PeqBand& band = p.peq[c][b];
            expectNearestValid(PeqFrequencyText, band.frequency, 0, 359, "band frequency");
            expectNearestValid(PeqGainText, band.gain, 480, 720, "band gain");
            expectNearestValid(QLabelText, band.q, 0, 104, "band Q");
            expectNameOrEmpty(PeqTypeText, PeqTypeNames, band.type, "band type");
        }

        const DynamicsBlock& d = p.dynamics[c];
        expectNearestValid(AttackText, d[DynamicsBlock::CompressorAttack], 0, 127, "compressor attack");
        expectNearestValid(ReleaseText, d[DynamicsBlock::CompressorRelease], 0, 127, "compressor release");
        expectNearestValid(CompressorThresholdText, d[DynamicsBlock::CompressorThreshold], 0, 29, "compressor threshold");
        expectNearestValid(CompressorRatioText, d[DynamicsBlock::CompressorRatio], 0, 127, "ratio");
        expectNameOrEmpty(CompressorBoostText, CompressorBoostTexts, d[DynamicsBlock::CompressorBoost], "boost");
        expectNearestValid(LimiterAttackText, d[DynamicsBlock::LimiterAttack], 0, 127, "limiter attack");
        expectNearestValid(ReleaseText, d[DynamicsBlock::LimiterRelease], 0, 127, "limiter release");
        expectNearestValid(LimiterThresholdText, d[DynamicsBlock::LimiterThreshold], 0, 127, "limiter threshold");
        expectNameOrEmpty(LimiterHoldText, LimiterHoldTexts, d[DynamicsBlock::LimiterHold], "hold");
        expectNearestValid(AttackText, d[DynamicsBlock::GateAttack], 0, 127, "gate attack");
        expectNearestValid(ReleaseText, d[DynamicsBlock::GateRelease], 0, 127, "gate release");
        expectNameOrEmpty(GateThresholdText, GateThresholdTexts, d[DynamicsBlock::GateThreshold], "gate threshold");
    }
}

// Without shadow: ascending grid frequencies above the floor. With shadow: one floor point per
// grid step, each followed by its curve point when that is above the floor.
void expectWellFormedCurve(const CurvePointList& points, bool shadow, int output)
{
    ASSERT_LE(points.size(), shadow ? 788 : 394);
    double lastX = 0;
    int floors = 0;
    for (int i = 0; i < points.size(); ++i) {
        const CurvePoint& pt = points[i];
        ASSERT_TRUE(std::isfinite(pt.y)) << "output " << output << " point " << i;
        ASSERT_GE(pt.x, 10.2);
        ASSERT_LE(pt.x, 20200);
        if (shadow && pt.y == kCurveFloor) {
            ASSERT_GT(pt.x, lastX);
            lastX = pt.x;
            ++floors;
        } else {
            ASSERT_GT(pt.y, kCurveFloor);
            if (shadow) {
                ASSERT_EQ(pt.x, lastX) << "a curve point follows its floor point";
            } else {
                ASSERT_GT(pt.x, lastX);
                lastX = pt.x;
            }
        }
    }
    if (shadow) {
        ASSERT_EQ(floors, 394);
    }
}

TEST(RandomImages, EveryTextShowsANearestValidValueOrNothing)
{
    for (const MatrixImage& image : sampleImages()) {
        MatrixParameters params;
        ApplyMatrixImage(image, params);
        renderEveryText(params);
        NormalizeMatrixParameters(params);
        renderEveryText(params);
        if (HasFailure())
            return;
    }
}

TEST(RandomImages, EveryCurveStaysOnTheGridAndMatchesItsNormalisedDrawing)
{
    for (const MatrixImage& image : sampleImages()) {
        MatrixParameters raw;
        ApplyMatrixImage(image, raw);
        for (int o = 1; o <= 16; ++o) {
            for (bool shadow : {false, true}) {
                CurvePointList fromRaw;
                ComputeResponseCurve(raw, o, shadow, fromRaw);
                expectWellFormedCurve(fromRaw, shadow, o);

                MatrixParameters drawn = raw;
                CurvePointList fromDrawing;
                DrawResponseCurvePoints(drawn, o, shadow, fromDrawing);
                ASSERT_EQ(fromRaw.size(), fromDrawing.size());
                for (int i = 0; i < fromRaw.size(); ++i)
                    ASSERT_EQ(fromRaw[i].y, fromDrawing[i].y);
            }
            for (int m = kCurveFirstStep; m <= kCurveLastStep; m += 7)
                ASSERT_TRUE(std::isfinite(PeqCurveLevel(raw, o, m)));
        }
    }
}

TEST(RandomImages, RebuildingADecodedImageGivesBackEveryByteThatIsRead)
{
    for (const MatrixImage& image : sampleImages()) {
        MatrixParameters params;
        ApplyMatrixImage(image, params);
        const MatrixImage rebuilt = BuildMatrixImage(params, DeviceModel::fromCode(11));
        for (int i = kImageInputGainOffset; i < kMatrixImageSize; ++i) {
            const int inBlock = (i - kImageFirstBlockOffset) % kImageBlockSize;
            if (i >= kImageFirstBlockOffset && (inBlock == 68 || inBlock >= 88))
                continue; // zero bytes, not read
            int expected = image[std::size_t(i)];
            const bool bandTypeByte = i >= kImageFirstBlockOffset && inBlock >= kBlockFirstBand
                && inBlock < kBlockFirstBand + 5 * kBlockBandSize && (inBlock - kBlockFirstBand) % kBlockBandSize == 5;
            if (bandTypeByte)
                expected &= 0x87;
            ASSERT_EQ(rebuilt[std::size_t(i)], expected) << "byte " << i;
        }
    }
}

} // namespace
