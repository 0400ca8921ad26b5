#include "model/MatrixImageCodec.h"

#include "model/MatrixOperations.h"
#include "model/ParameterStore.h"

#include <cstring>

namespace {

// Image order of the 14 dynamics bytes at block offset 74..87, as DynamicsBlock field numbers:
// compressor (switch, attack, release, threshold, ratio, boost), limiter (switch, attack, release,
// threshold, hold), noise gate (attack, release, threshold).
constexpr int kDynamicsImageOrder[14] = {
    DynamicsBlock::CompressorSwitch, DynamicsBlock::CompressorAttack, DynamicsBlock::CompressorRelease,
    DynamicsBlock::CompressorThreshold, DynamicsBlock::CompressorRatio, DynamicsBlock::CompressorBoost,
    DynamicsBlock::LimiterSwitch, DynamicsBlock::LimiterAttack, DynamicsBlock::LimiterRelease,
    DynamicsBlock::LimiterThreshold, DynamicsBlock::LimiterHold, DynamicsBlock::GateAttack,
    DynamicsBlock::GateRelease, DynamicsBlock::GateThreshold,
};

void putWord(MatrixImage& image, int offset, int value)
{
    image[std::size_t(offset)] = std::uint8_t((value >> 8) & 0xFF);
    image[std::size_t(offset + 1)] = std::uint8_t(value & 0xFF);
}

int wordAt(const MatrixImage& image, int offset)
{
    return 256 * image[std::size_t(offset)] + image[std::size_t(offset + 1)];
}

void putPair(MatrixImage& image, int offset, std::uint8_t high, std::uint8_t low, int times)
{
    for (int i = 0; i < times; ++i) {
        image[std::size_t(offset + 2 * i)] = high;
        image[std::size_t(offset + 2 * i + 1)] = low;
    }
}

void putBytes(MatrixImage& image, int offset, std::initializer_list<std::uint8_t> bytes)
{
    for (std::uint8_t b : bytes)
        image[std::size_t(offset++)] = b;
}

} // namespace

MatrixImage BuildMatrixImage(const MatrixParameters& params, const DeviceModel& model)
{
    MatrixImage image{};
    std::memcpy(image.data() + kImageNameOffset, kImageProgramName, kImageNameLength);
    for (int i = 0; i < kImageMarkerCount; ++i)
        image[std::size_t(kImageMarkerOffset + i)] = 0x80;
    image[kImageModelOffset] = model.code;
    image[kImageInputCountOffset] = model.inputs;
    image[kImageOutputCountOffset] = model.outputs;

    for (int i = 1; i <= kChannelCount; ++i)
        putWord(image, kImageInputGainOffset + 2 * (i - 1), params.inputGain[std::size_t(i)]);

    for (int o = 1; o <= kChannelCount; ++o) {
        const std::size_t out = std::size_t(o);
        const int block = ImageBlockOffset(o);
        for (int i = 1; i <= kChannelCount; ++i)
            putWord(image, block + kBlockCrosspoints + 2 * (i - 1), params.crosspoint[out][std::size_t(i)]);

        const CrossoverSettings& x = params.crossover[out];
        image[std::size_t(block + kBlockHighPassType)] = std::uint8_t((x.highPassType & 0xFF) + 1);
        putWord(image, block + kBlockHighPassFreq, x.highPassFrequency);
        image[std::size_t(block + kBlockLowPassType)] = std::uint8_t((x.lowPassType & 0xFF) + 1);
        putWord(image, block + kBlockLowPassFreq, x.lowPassFrequency);

        for (int b = 1; b <= kBandCount; ++b) {
            const PeqBand& band = params.peq[out][std::size_t(b)];
            const int p = block + kBlockFirstBand + kBlockBandSize * (b - 1);
            putWord(image, p, band.frequency + 35);
            putWord(image, p + 2, band.gain);
            image[std::size_t(p + 4)] = band.q;
            image[std::size_t(p + 5)] = std::uint8_t((band.flags & 0x80) + band.type);
        }

        putWord(image, block + kBlockDelay, params.delay[out]);
        image[std::size_t(block + kBlockPolarity)] = params.polarity[out];
        putWord(image, block + kBlockOutputGain, params.outputGain[out]);
        for (int k = 0; k < 14; ++k)
            image[std::size_t(block + kBlockDynamics + k)] = params.dynamics[out][kDynamicsImageOrder[k]];
    }
    return image;
}

void BuildMatrixImage(ParameterStore& store)
{
    store.buildImage = BuildMatrixImage(store.params, store.model);
}

void ApplyMatrixImage(const MatrixImage& image, MatrixParameters& params)
{
    for (int i = 1; i <= kChannelCount; ++i)
        params.inputGain[std::size_t(i)] = LevelWord(wordAt(image, kImageInputGainOffset + 2 * (i - 1)));

    for (int o = 1; o <= kChannelCount; ++o) {
        const std::size_t out = std::size_t(o);
        const int block = ImageBlockOffset(o);
        for (int i = 1; i <= kChannelCount; ++i)
            params.crosspoint[out][std::size_t(i)] = LevelWord(wordAt(image, block + kBlockCrosspoints + 2 * (i - 1)));

        CrossoverSettings& x = params.crossover[out];
        x.highPassType = image[std::size_t(block + kBlockHighPassType)] - 1;
        x.highPassFrequency = wordAt(image, block + kBlockHighPassFreq);
        x.lowPassType = image[std::size_t(block + kBlockLowPassType)] - 1;
        x.lowPassFrequency = wordAt(image, block + kBlockLowPassFreq);

        for (int b = 1; b <= kBandCount; ++b) {
            PeqBand& band = params.peq[out][std::size_t(b)];
            const int p = block + kBlockFirstBand + kBlockBandSize * (b - 1);
            band.frequency = wordAt(image, p) - 35;
            band.gain = wordAt(image, p + 2);
            band.q = image[std::size_t(p + 4)];
            const std::uint8_t typeByte = image[std::size_t(p + 5)];
            band.flags = typeByte > 0x7F ? 0x80 : 0x00;
            band.type = typeByte & 7;
            band.band = std::uint8_t(b);
        }

        params.delay[out] = std::uint16_t(wordAt(image, block + kBlockDelay));
        params.polarity[out] = image[std::size_t(block + kBlockPolarity)];
        params.outputGain[out] = LevelWord(wordAt(image, block + kBlockOutputGain));
        for (int k = 0; k < 14; ++k)
            params.dynamics[out][kDynamicsImageOrder[k]] = image[std::size_t(block + kBlockDynamics + k)];
    }
}

void ApplyMatrixImage(ParameterStore& store)
{
    ApplyMatrixImage(store.loadImage, store.params);
}

MatrixImage DefaultMatrixImage()
{
    MatrixImage image{};
    std::memcpy(image.data() + kImageNameOffset, kImageProgramName, kImageNameLength);
    for (int i = 0; i < kImageMarkerCount; ++i)
        image[std::size_t(kImageMarkerOffset + i)] = 100;
    image[kImageModelOffset] = 11;
    image[kImageInputCountOffset] = 16;
    image[kImageOutputCountOffset] = 16;
    putPair(image, kImageInputGainOffset, 0x81, 0x90, 16);
    // The filler pattern of an output block, byte for byte. It is not aligned with the block
    // layout (its crossover and band bytes sit one byte late), so it decodes to odd values; it
    // only gives bytes that a file or a short program read does not reach a defined content.
    for (int o = 1; o <= kChannelCount; ++o) {
        int at = ImageBlockOffset(o);
        putPair(image, at, 0x81, 0x90, 16);
        at += 32;
        putBytes(image, at, {0x00, 0x00, 0x00, 0x01, 0x89, 0x00});
        at += 6;
        for (int b = 0; b < kBandCount; ++b, at += 6)
            putBytes(image, at, {0x00, 0xCB, 0x01, 0x90, 0x13, 0x80});
        putBytes(image, at, {0x00, 0x00, 0x00, 0x00, 0x81, 0x90});
        at += 6;
        putBytes(image, at, {0x64, 0x3C, 0x3C, 0x40, 0x00, 0x00, 0x64, 0x00, 0x3C, 0x7F, 0x00, 0x3C, 0x64, 0x02});
    }
    return image;
}

void PrefillImageBuffers(ParameterStore& store)
{
    const MatrixImage image = DefaultMatrixImage();
    store.buildImage = image;
    store.loadImage = image;
    store.memoryImage = image;
}
