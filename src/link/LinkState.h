#pragma once
#include <atomic>
#include <cstdint>

// Flags keep their integer values: 100 set, 0 clear; SendEnabled 1 / 0.
inline constexpr int kSet = 100;

struct LinkState {
    // Frames handed to the writer and not yet finished by it. Written by the GUI thread and the
    // writer thread; may drop below 0 for a while after the connect procedure zeroes it.
    std::atomic<std::int32_t> PendingFrames{0};
    // Read by the writer once per frame, before its first byte.
    std::atomic<std::uint8_t> SendEnabled{0};
    std::int32_t LinkConnected = 0;
    std::int32_t SettingsModified = 0;
    std::int32_t OnlineIndicator = 0;
    std::uint8_t LockState = 0;
    std::uint8_t UnitInfo[3] = {0, 0, 0};
};
