#pragma once
#include "model/DeviceModel.h"
#include "model/MatrixImage.h"

#include <QByteArray>
#include <cstdint>

// The virtual unit's own view of its 1600-byte settings image: where each parameter lives and
// how the matrix commands change it. Works on the image bytes directly, so the unit never shares
// the designer's encoding code and a wrong offset on either side shows up in the tests.
class UnitImage {
public:
    static constexpr int kNameSize = 12;
    static constexpr int kMarker = 12; // program-present marker
    static constexpr int kModelCode = 17;
    static constexpr int kInputCount = 18;
    static constexpr int kOutputCount = 19;
    static constexpr int kInputGains = 32; // LevelWord per input 1..16
    static constexpr int kFirstOutputBlock = 64;
    static constexpr int kOutputBlockSize = 96;

    // Offsets inside an output block.
    static constexpr int kCrosspoints = 0; // LevelWord per input 1..16
    static constexpr int kHighPassType = 32;
    static constexpr int kHighPassFrequency = 33;
    static constexpr int kLowPassType = 35;
    static constexpr int kLowPassFrequency = 36;
    static constexpr int kPeqBands = 38; // 6 bytes per band 1..5
    static constexpr int kPeqBandSize = 6;
    static constexpr int kDelay = 69;
    static constexpr int kPolarity = 71;
    static constexpr int kOutputGain = 72;
    static constexpr int kCompressorSwitch = 74;
    static constexpr int kLimiterHold = 84;
    static constexpr int kMuteBit = 0x80; // in the high byte of a LevelWord

    static int outputBlock(int output) { return kFirstOutputBlock + kOutputBlockSize * (output - 1); }
    static int inputGain(int input) { return kInputGains + 2 * (input - 1); }
    static int crosspoint(int output, int input) { return outputBlock(output) + kCrosspoints + 2 * (input - 1); }
    static int peqBand(int output, int band) { return outputBlock(output) + kPeqBands + kPeqBandSize * (band - 1); }
    // Offset inside an output block of the dynamics byte a command 28..31, 33..42 sets; -1 otherwise.
    static int dynamicsOffset(std::uint8_t command);

    // What a unit runs out of the box: every channel at its "New" default, named "   Preset   ",
    // markers 0x80, the unit's model code and channel counts in the header.
    static MatrixImage plainDefault(const DeviceModel& model);

    // Applies a matrix edit (commands 21..42) to the image at the offsets of the image layout.
    // The channel numbers come from Selector (for 32: Selector = input, Channel = output).
    // Returns false, leaving the image alone, for another command, a channel outside 1..16, a
    // payload of the wrong size or a PEQ band number outside 1..5.
    static bool applyEdit(MatrixImage& image, std::uint8_t command, std::uint8_t selector, std::uint8_t channel,
                          const QByteArray& payload);

    // Output copy (command 237): the source output's settings onto the target, the same set the
    // designer mirrors (crosspoint row, crossover, PEQ bands, delay, polarity, output gain, every
    // dynamics byte but the limiter hold); then every output comes back muted. False, image
    // unchanged, when either output is outside 1..16 or both are the same.
    static bool copyOutput(MatrixImage& image, int source, int target);

    // Sets the mute bit of every output's gain word (after a copy or a recall).
    static void muteAllOutputs(MatrixImage& image);

    static std::uint16_t word(const MatrixImage& image, int offset)
    {
        return std::uint16_t(image[std::size_t(offset)] << 8 | image[std::size_t(offset) + 1]);
    }
    static void setWord(MatrixImage& image, int offset, std::uint16_t value)
    {
        image[std::size_t(offset)] = std::uint8_t(value >> 8);
        image[std::size_t(offset) + 1] = std::uint8_t(value & 0xFF);
    }
};
