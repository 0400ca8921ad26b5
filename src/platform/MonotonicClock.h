#pragma once
#include <chrono>
#include <cstdint>

// Monotonic time for every wait and pacing decision; never the wall clock.
namespace MonotonicClock {
inline std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
inline std::int64_t nowMs() { return nowNs() / 1000000; }
} // namespace MonotonicClock
