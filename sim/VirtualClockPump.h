#pragma once
#include "platform/EventPump.h"

#include <cstdint>
#include <functional>
#include <map>

// PumpWait on a virtual clock, for procedure tests with long waits: waitFor(ms) advances the
// clock in 1 ms steps and, on every step, runs the tick handlers (the in-process line delivers
// what is due then) and lets posted Qt events run. A 36 s recall takes milliseconds of real time.
// Not thread-safe: the GUI thread of the test only.
class VirtualClockPump : public EventPump {
public:
    VirtualClockPump() = default;

    // Runs the tick handlers at the current virtual time (no time passes) and posted Qt events.
    void processEvents() override;
    std::int64_t nowMs() const override { return m_nowNs / 1000000; }
    std::int64_t nowNs() const { return m_nowNs; }

    // Advances the virtual clock by `ms` milliseconds in 1 ms steps (no abort check; wait()
    // adds that).
    void waitFor(int ms) override;

    // Called with the virtual time (ns) on every step and on processEvents(). Returns an id for
    // removeTickHandler().
    int addTickHandler(std::function<void(std::int64_t nowNs)> handler);
    void removeTickHandler(int id);

    // Virtual milliseconds spent in waitFor() since construction.
    std::int64_t waitedMs() const { return m_waitedMs; }

private:
    void tick();

    std::int64_t m_nowNs = 0;
    std::int64_t m_waitedMs = 0;
    int m_nextId = 1;
    std::map<int, std::function<void(std::int64_t)>> m_handlers;
};
