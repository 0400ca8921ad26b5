#pragma once
#include <array>
#include <cstdint>

// The one outgoing command record. Never cleared between commands: a sender sets only the fields
// its command needs, the rest keep what an earlier command left (Channel in particular).
struct CommandRecord {
    std::uint8_t Address = 0;
    std::uint8_t Command = 0;
    std::uint8_t Selector = 0;
    std::uint8_t PayloadLength = 0; // 0..30
    std::uint8_t Channel = 0;
    std::array<std::uint8_t, 31> Payload{}; // indexed 1..30; [0] unused

    static constexpr int kMaxPayload = 30;
};
