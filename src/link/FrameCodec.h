#pragma once
#include "link/CommandRecord.h"

#include <QByteArray>
#include <cstdint>

namespace FrameCodec {
inline constexpr std::uint8_t kPreamble[3] = {0x41, 0x52, 0x63}; // "A" "R" "c"
inline constexpr std::uint8_t kTrailer[3] = {0xA8, 0xB9, 0xC3};
inline constexpr int kByteGapMs = 3;

// Address, Command, Selector, Channel, PayloadLength, Payload[1..n], checksum (n + 6 bytes).
QByteArray layout(const CommandRecord& record);
// Sum of the bytes, modulo 256.
std::uint8_t checksum(const QByteArray& bytes);
// Preamble + frame + trailer, as the bytes appear on the line.
QByteArray wire(const QByteArray& frame);
// Quiet time after a frame's trailer, chosen by frame byte 4 (the Channel byte).
int settlingMs(std::uint8_t frameByte4);
} // namespace FrameCodec
