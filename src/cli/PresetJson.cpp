#include "cli/PresetJson.h"

#include "cli/CliOptions.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "model/MatrixTexts.h"
#include "model/ValueCodes.h"

#include <QJsonArray>

namespace {

QJsonObject coded(int code, const QString& text)
{
    return QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("text"), text}};
}

QJsonObject level(LevelWord word)
{
    QJsonObject o = coded(word, LevelDbText(word));
    o.insert(QStringLiteral("muted"), IsMutedWord(word));
    return o;
}

QJsonObject inCircuitSwitch(std::uint8_t code)
{
    return coded(code, code == kDynamicsInCircuit ? QStringLiteral("in circuit") : QStringLiteral("bypassed"));
}

QJsonObject filter(int frequencyCode, int shownFrequency, int typeCode, int shownType)
{
    return QJsonObject{
        {QStringLiteral("frequency"), coded(frequencyCode, CrossoverFrequencyText(shownFrequency))},
        {QStringLiteral("type"), coded(typeCode, FilterTypeText(shownType))},
    };
}

QJsonObject dynamicsJson(const DynamicsBlock& d)
{
    using F = DynamicsBlock;
    const QJsonObject compressor{
        {QStringLiteral("switch"), inCircuitSwitch(d[F::CompressorSwitch])},
        {QStringLiteral("attack"), coded(d[F::CompressorAttack], AttackText(d[F::CompressorAttack]))},
        {QStringLiteral("release"), coded(d[F::CompressorRelease], ReleaseText(d[F::CompressorRelease]))},
        {QStringLiteral("threshold"),
         coded(d[F::CompressorThreshold], CompressorThresholdText(d[F::CompressorThreshold]))},
        {QStringLiteral("ratio"), coded(d[F::CompressorRatio], CompressorRatioText(d[F::CompressorRatio]))},
        {QStringLiteral("boost"), coded(d[F::CompressorBoost], CompressorBoostText(d[F::CompressorBoost]))},
    };
    const QJsonObject limiter{
        {QStringLiteral("switch"), inCircuitSwitch(d[F::LimiterSwitch])},
        {QStringLiteral("attack"), coded(d[F::LimiterAttack], LimiterAttackText(d[F::LimiterAttack]))},
        {QStringLiteral("release"), coded(d[F::LimiterRelease], ReleaseText(d[F::LimiterRelease]))},
        {QStringLiteral("threshold"), coded(d[F::LimiterThreshold], LimiterThresholdText(d[F::LimiterThreshold]))},
        {QStringLiteral("hold"), coded(d[F::LimiterHold], LimiterHoldText(d[F::LimiterHold]))},
    };
    const QJsonObject gate{
        {QStringLiteral("attack"), coded(d[F::GateAttack], AttackText(d[F::GateAttack]))},
        {QStringLiteral("release"), coded(d[F::GateRelease], ReleaseText(d[F::GateRelease]))},
        {QStringLiteral("threshold"), coded(d[F::GateThreshold], GateThresholdText(d[F::GateThreshold]))},
    };
    return QJsonObject{
        {QStringLiteral("compressor"), compressor},
        {QStringLiteral("limiter"), limiter},
        {QStringLiteral("noiseGate"), gate},
    };
}

} // namespace

QJsonObject PresetJson(const MatrixImage& image)
{
    MatrixParameters decoded;
    ApplyMatrixImage(image, decoded);
    MatrixParameters shown = decoded;
    NormalizeMatrixParameters(shown);

    const int modelCode = image[kImageModelOffset];
    const QJsonObject configuration{
        {QStringLiteral("model"), coded(modelCode, CliOptions::modelText(modelCode))},
        {QStringLiteral("inputs"), image[kImageInputCountOffset]},
        {QStringLiteral("outputs"), image[kImageOutputCountOffset]},
    };
    QString name;
    for (int i = 0; i < kImageNameLength; ++i)
        name += QChar::fromLatin1(char(image[std::size_t(kImageNameOffset + i)]));

    QJsonArray inputs;
    for (std::size_t i = 1; i <= 16; ++i) {
        inputs.append(QJsonObject{{QStringLiteral("input"), int(i)},
                                  {QStringLiteral("gain"), level(decoded.inputGain[i])}});
    }

    QJsonArray outputs;
    for (std::size_t o = 1; o <= 16; ++o) {
        QJsonArray crosspoints;
        for (std::size_t i = 1; i <= 16; ++i) {
            crosspoints.append(QJsonObject{{QStringLiteral("input"), int(i)},
                                           {QStringLiteral("gain"), level(decoded.crosspoint[o][i])}});
        }
        const CrossoverSettings& x = decoded.crossover[o];
        const CrossoverSettings& xs = shown.crossover[o];
        const QJsonObject crossover{
            {QStringLiteral("highPass"),
             filter(x.highPassFrequency, xs.highPassFrequency, x.highPassType, xs.highPassType)},
            {QStringLiteral("lowPass"), filter(x.lowPassFrequency, xs.lowPassFrequency, x.lowPassType, xs.lowPassType)},
        };
        QJsonArray bands;
        for (std::size_t b = 1; b <= 5; ++b) {
            const PeqBand& band = decoded.peq[o][b];
            const PeqBand& bs = shown.peq[o][b];
            bands.append(QJsonObject{
                {QStringLiteral("band"), int(b)},
                {QStringLiteral("frequency"), coded(band.frequency, PeqFrequencyText(bs.frequency) + QStringLiteral("Hz"))},
                {QStringLiteral("gain"), coded(band.gain, PeqGainText(bs.gain))},
                {QStringLiteral("q"), coded(band.q, QLabelText(bs.q))},
                {QStringLiteral("type"), coded(band.type, PeqTypeText(bs.type))},
                {QStringLiteral("bypass"),
                 coded(band.flags, band.flags > 0x7F ? QStringLiteral("bypassed") : QStringLiteral("active"))},
            });
        }
        const int delay = decoded.delay[o];
        QJsonObject delayJson = coded(delay, DelayMsText(delay));
        delayJson.insert(QStringLiteral("metres"), DelayMetresText(delay));
        delayJson.insert(QStringLiteral("feet"), DelayFeetText(delay));
        const int polarity = decoded.polarity[o];

        outputs.append(QJsonObject{
            {QStringLiteral("output"), int(o)},
            {QStringLiteral("gain"), level(decoded.outputGain[o])},
            {QStringLiteral("polarity"),
             coded(polarity, polarity == kPolarityInverted ? QStringLiteral("inverted") : QStringLiteral("normal"))},
            {QStringLiteral("delay"), delayJson},
            {QStringLiteral("crosspoints"), crosspoints},
            {QStringLiteral("crossover"), crossover},
            {QStringLiteral("bands"), bands},
            {QStringLiteral("dynamics"), dynamicsJson(decoded.dynamics[o])},
        });
    }

    return QJsonObject{
        {QStringLiteral("name"), name},
        {QStringLiteral("configuration"), configuration},
        {QStringLiteral("inputs"), inputs},
        {QStringLiteral("outputs"), outputs},
    };
}
