#pragma once
#include "sim/SimFaults.h"
#include "sim/SimFrame.h"
#include "sim/SimOutput.h"
#include "sim/VirtualUnit.h"

#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <vector>

// The protocol engine of one serial line with one or more virtual units. Takes the host's bytes
// with their arrival times, finds frames by the preamble 41 52 63, checks the length byte, the
// checksum and the trailer A8 B9 C3, hands every valid frame to the units at its address and
// queues their replies (with their faults) until they are due. Keeps a log of every frame seen,
// valid or not, with the arrival time of each byte and the gaps between bytes.
//
// Thread-safe: every call takes the line's lock; withLock() runs a block of calls (changing a
// unit's faults or memory while a server feeds the line) under it.
class SimLine {
public:
    static constexpr std::int64_t kNothingDue = std::numeric_limits<std::int64_t>::max();

    SimLine();
    ~SimLine();
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    // The unit at `address`, created (16x16, with the line's faults) if there is none yet.
    // The reference stays valid as long as the line.
    VirtualUnit& addUnit(std::uint8_t address);
    VirtualUnit* unit(std::uint8_t address);
    std::vector<std::uint8_t> addresses() const;
    // The same faults for every unit on the line, and for units added later.
    void setFaults(const SimFaults& faults);
    // Seeds the random numbers behind loss and noise (fixed by default, so runs repeat).
    void setSeed(std::uint32_t seed);

    // Bytes from the host, all received at `arrivalNs`.
    void feed(const std::uint8_t* bytes, std::size_t n, std::int64_t arrivalNs);
    void feed(const QByteArray& bytes, std::int64_t arrivalNs);
    // Reply bytes due by `nowNs`, in the order they go out; removed from the queue.
    std::vector<SimOutput> takeDue(std::int64_t nowNs);
    // When the next queued output is due; kNothingDue when nothing is queued.
    std::int64_t nextDueNs() const;
    // The line was hung up: a frame in progress ends as invalid ("cut") and queued replies are lost.
    void lineBroken();

    std::vector<SimFrame> frames() const;
    std::size_t frameCount() const;        // frames seen since the last clearLog()
    std::size_t validFrameCount() const;
    // Blocks until at least `count` frames were seen since the last clearLog(), at most timeoutMs.
    bool waitForFrames(std::size_t count, int timeoutMs) const;
    void clearLog();
    // Every byte fed to the line since it was made.
    std::uint64_t bytesReceived() const;
    // Bytes that belonged to no frame (line noise, the host's garbage between frames).
    std::uint64_t strayBytes() const;
    // The log keeps at most this many frames (the oldest go first); 100000 by default.
    void setLogLimit(std::size_t frames);

    // Called for every frame as soon as it is complete (quiet time not yet known), on the thread
    // that fed the line and under its lock: must be quick and must not call back into the line.
    void setFrameListener(std::function<void(const SimFrame&)> listener);

    void withLock(const std::function<void()>& block);

private:
    void scan();
    void completeFrame(SimFrame frame, std::size_t consumed);
    void dispatch(SimFrame& frame);
    void logFrame(SimFrame frame);
    SimFrame partialFrame(std::size_t bytes, const QString& error) const;

    mutable std::recursive_mutex m_mutex;
    mutable std::condition_variable_any m_logChanged;
    std::map<std::uint8_t, std::unique_ptr<VirtualUnit>> m_units;
    SimFaults m_defaultFaults;
    std::mt19937 m_rng{20240611u};

    // Bytes received but not yet part of a decided frame, with their arrival times.
    std::vector<std::uint8_t> m_pending;
    std::vector<std::int64_t> m_pendingNs;
    bool m_quietPending = false; // the newest logged frame waits for its quiet time

    std::deque<SimFrame> m_log;
    std::size_t m_logLimit = 100000;
    std::size_t m_seenSinceClear = 0;
    std::size_t m_validSinceClear = 0;
    std::uint64_t m_sequence = 0;
    std::uint64_t m_strayBytes = 0;
    std::uint64_t m_bytesReceived = 0;
    std::multimap<std::int64_t, QByteArray> m_due;
    std::function<void(const SimFrame&)> m_listener;
};
