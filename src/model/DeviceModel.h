#pragma once
#include <cstdint>

// The configuration: code 3..11 for 4*4 .. 16*16, with its input and output counts (4, 8 or 16).
struct DeviceModel {
    std::uint8_t code = 3;
    std::uint8_t inputs = 4;
    std::uint8_t outputs = 4;

    // Codes above 11 become 11, below 3 become 3.
    static DeviceModel fromCode(int code)
    {
        if (code > 11)
            code = 11;
        if (code < 3)
            code = 3;
        static constexpr std::uint8_t kCounts[3] = {4, 8, 16};
        DeviceModel m;
        m.code = std::uint8_t(code);
        m.inputs = kCounts[(code - 3) / 3];
        m.outputs = kCounts[(code - 3) % 3];
        return m;
    }
    // Chunks of 16 bytes in a stored program: 28 for 4*4, 100 otherwise.
    int chunkCount() const { return code == 3 ? 28 : 100; }
};
