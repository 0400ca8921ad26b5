#pragma once
#include "model/DeviceModel.h"
#include "model/MatrixImage.h"
#include "model/MatrixParameters.h"

struct ParameterStore;

// The 1600-byte MatrixImage: the content of a .T16 preset file and of one program in a unit.
// 16-bit values are stored high byte first. Layout:
//   0..11 program name ("   Preset   "), 12..16 markers (12 = program present), 17 DeviceModel,
//   18 input count, 19 output count, 20..31 zero, 32..63 input gains, then one 96-byte block per
//   output 1..16 from byte 64 (offsets inside the block below).

inline constexpr int kImageNameOffset = 0;
inline constexpr int kImageNameLength = 12;
inline constexpr int kImageMarkerOffset = 12; // the program-present marker
inline constexpr int kImageMarkerCount = 5;
inline constexpr int kImageModelOffset = 17;
inline constexpr int kImageInputCountOffset = 18;
inline constexpr int kImageOutputCountOffset = 19;
inline constexpr int kImageInputGainOffset = 32;
inline constexpr int kImageFirstBlockOffset = 64;
inline constexpr int kImageBlockSize = 96;

inline constexpr int kBlockCrosspoints = 0;     // 16 level words, inputs 1..16
inline constexpr int kBlockHighPassType = 32;   // type + 1
inline constexpr int kBlockHighPassFreq = 33;   // word
inline constexpr int kBlockLowPassType = 35;    // type + 1
inline constexpr int kBlockLowPassFreq = 36;    // word
inline constexpr int kBlockFirstBand = 38;      // 6 bytes per band: freq + 35, gain, Q, flags | type
inline constexpr int kBlockBandSize = 6;
inline constexpr int kBlockDelay = 69;          // word
inline constexpr int kBlockPolarity = 71;
inline constexpr int kBlockOutputGain = 72;     // word
inline constexpr int kBlockDynamics = 74;       // 14 bytes in image order

inline constexpr const char kImageProgramName[] = "   Preset   ";

// Offset of output o's block (o = 1..16).
constexpr int ImageBlockOffset(int output) { return kImageFirstBlockOffset + kImageBlockSize * (output - 1); }

// Encodes every parameter of all 16 inputs and outputs and the configuration. Only the low 16
// bits of a word and the low 8 of a byte reach the image; a PEQ band keeps bit 7 of its flags
// plus its type in one byte, and its band number is not stored.
MatrixImage BuildMatrixImage(const MatrixParameters& params, const DeviceModel& model);
// Fills store.buildImage from store.params and store.model.
void BuildMatrixImage(ParameterStore& store);

// Decodes an image into params. Any content is accepted (the header is not read); codes outside
// their ranges stay as they are until NormalizeMatrixParameters. A zero crossover type byte
// decodes to -1; a band's number comes from its position.
void ApplyMatrixImage(const MatrixImage& image, MatrixParameters& params);
// Decodes store.loadImage into store.params.
void ApplyMatrixImage(ParameterStore& store);

// The fixed content every image buffer holds before a file or a program read fills it, so that
// bytes a short read does not reach are defined. (It is not the image of the "New" defaults.)
MatrixImage DefaultMatrixImage();
// Fills the build, load and memory buffers of store with DefaultMatrixImage.
void PrefillImageBuffers(ParameterStore& store);
