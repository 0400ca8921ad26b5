#pragma once
#include <array>
#include <cstdint>

// The 1600-byte image of all settings of a unit: a preset file, one program in a unit.
inline constexpr int kMatrixImageSize = 1600;
using MatrixImage = std::array<std::uint8_t, kMatrixImageSize>;
