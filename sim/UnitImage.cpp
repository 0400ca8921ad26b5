#include "sim/UnitImage.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint8_t kDefaultLevelHigh = 0x02; // 0x0258 = 0.0 dB
constexpr std::uint8_t kDefaultLevelLow = 0x58;

// Dynamics bytes in image order: compressor switch, attack, release, threshold, ratio, boost,
// limiter switch, attack, release, threshold, hold, gate attack, release, threshold.
constexpr std::uint8_t kDefaultDynamics[14] = {0x00, 0x3C, 0x3C, 0x17, 0x3F, 0x00, 0x00,
                                               0x00, 0x3C, 0x7F, 0x00, 0x3C, 0x64, 0x02};

bool channelOk(int c)
{
    return c >= 1 && c <= 16;
}
} // namespace

int UnitImage::dynamicsOffset(std::uint8_t command)
{
    switch (command) {
    case 34: return kCompressorSwitch;     // compressor switch
    case 35: return kCompressorSwitch + 1; // compressor attack
    case 36: return kCompressorSwitch + 2; // compressor release
    case 37: return kCompressorSwitch + 3; // compressor threshold
    case 38: return kCompressorSwitch + 4; // compressor ratio
    case 39: return kCompressorSwitch + 5; // compressor boost
    case 28: return kCompressorSwitch + 6; // limiter switch
    case 29: return kCompressorSwitch + 7; // limiter attack
    case 31: return kCompressorSwitch + 8; // limiter release
    case 33: return kCompressorSwitch + 9; // limiter threshold
    case 30: return kLimiterHold;          // limiter hold
    case 40: return kCompressorSwitch + 11; // noise-gate attack
    case 41: return kCompressorSwitch + 12; // noise-gate release
    case 42: return kCompressorSwitch + 13; // noise-gate threshold
    default: return -1;
    }
}

MatrixImage UnitImage::plainDefault(const DeviceModel& model)
{
    MatrixImage im{};
    std::memcpy(im.data(), "   Preset   ", kNameSize);
    for (int i = 12; i <= 16; ++i)
        im[std::size_t(i)] = 0x80;
    im[kModelCode] = model.code;
    im[kInputCount] = model.inputs;
    im[kOutputCount] = model.outputs;
    for (int i = 1; i <= 16; ++i)
        setWord(im, inputGain(i), 0x8258); // muted, 0.0 dB
    for (int o = 1; o <= 16; ++o) {
        const int b = outputBlock(o);
        for (int i = 1; i <= 16; ++i) {
            im[std::size_t(crosspoint(o, i))] = kDefaultLevelHigh;
            im[std::size_t(crosspoint(o, i)) + 1] = kDefaultLevelLow;
        }
        im[std::size_t(b + kHighPassType)] = 1; // FLAT THRU + 1
        setWord(im, b + kHighPassFrequency, 0);
        im[std::size_t(b + kLowPassType)] = 1;
        setWord(im, b + kLowPassFrequency, 393);
        for (int band = 1; band <= 5; ++band) {
            const int p = peqBand(o, band);
            setWord(im, p, 203 + 35); // 1.00 kHz
            setWord(im, p + 2, 600);  // 0 dB
            im[std::size_t(p + 4)] = 20;   // Q 3.0
            im[std::size_t(p + 5)] = 0x80; // bypassed, type PEQ
        }
        setWord(im, b + kDelay, 0);
        im[std::size_t(b + kPolarity)] = 0;
        setWord(im, b + kOutputGain, 0x8258);
        std::copy(std::begin(kDefaultDynamics), std::end(kDefaultDynamics), im.begin() + b + kCompressorSwitch);
    }
    return im;
}

bool UnitImage::applyEdit(MatrixImage& im, std::uint8_t command, std::uint8_t selector, std::uint8_t channel,
                          const QByteArray& payload)
{
    auto at = [&](int i) { return std::uint8_t(payload[i]); };
    const int n = int(payload.size());
    const int c = selector;
    if (command == 32) {
        // Crosspoint: Selector = input, Channel = output.
        if (!channelOk(selector) || !channelOk(channel) || n != 2)
            return false;
        const int off = crosspoint(channel, selector);
        im[std::size_t(off)] = at(0);
        im[std::size_t(off) + 1] = at(1);
        return true;
    }
    if (command < 21 || command > 42 || !channelOk(c))
        return false;
    const int b = outputBlock(c);
    switch (command) {
    case 21: // input gain
        if (n != 2)
            return false;
        im[std::size_t(inputGain(c))] = at(0);
        im[std::size_t(inputGain(c)) + 1] = at(1);
        return true;
    case 22: // output gain
        if (n != 2)
            return false;
        im[std::size_t(b + kOutputGain)] = at(0);
        im[std::size_t(b + kOutputGain) + 1] = at(1);
        return true;
    case 23: // polarity
        if (n != 1)
            return false;
        im[std::size_t(b + kPolarity)] = at(0);
        return true;
    case 24: // delay: 0, high, low
        if (n != 3)
            return false;
        im[std::size_t(b + kDelay)] = at(1);
        im[std::size_t(b + kDelay) + 1] = at(2);
        return true;
    case 25: // high-pass: type + 1, frequency high, low
    case 26: {
        if (n != 3)
            return false;
        const int t = command == 25 ? kHighPassType : kLowPassType;
        const int f = command == 25 ? kHighPassFrequency : kLowPassFrequency;
        im[std::size_t(b + t)] = at(0);
        im[std::size_t(b + f)] = at(1);
        im[std::size_t(b + f) + 1] = at(2);
        return true;
    }
    case 27: { // PEQ band: freq + 35 (2), gain (2), Q, type + 16 * band + bypass bit
        if (n != 6)
            return false;
        const int band = (at(5) >> 4) & 0x07;
        if (band < 1 || band > 5)
            return false;
        const int p = peqBand(c, band);
        for (int i = 0; i < 5; ++i)
            im[std::size_t(p + i)] = at(i);
        // The image keeps the bypass bit and the type; the band number is the position.
        im[std::size_t(p + 5)] = std::uint8_t((at(5) & 0x80) | (at(5) & 0x0F));
        return true;
    }
    default: {
        const int off = dynamicsOffset(command);
        if (off < 0 || n != 1)
            return false;
        im[std::size_t(b + off)] = at(0);
        return true;
    }
    }
}

bool UnitImage::copyOutput(MatrixImage& im, int source, int target)
{
    if (!channelOk(source) || !channelOk(target) || source == target)
        return false;
    const int s = outputBlock(source);
    const int t = outputBlock(target);
    for (int i = 0; i < kOutputBlockSize; ++i) {
        if (i == kLimiterHold)
            continue;
        im[std::size_t(t + i)] = im[std::size_t(s + i)];
    }
    muteAllOutputs(im);
    return true;
}

void UnitImage::muteAllOutputs(MatrixImage& im)
{
    for (int o = 1; o <= 16; ++o)
        im[std::size_t(outputBlock(o) + kOutputGain)] |= kMuteBit;
}
