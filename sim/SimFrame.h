#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// One frame as the line saw it, valid or not, with the arrival time of every byte. Times are
// nanoseconds on the clock of whoever fed the line: the monotonic clock for the pty server, the
// virtual clock for the in-process harness.
struct SimFrame {
    std::uint64_t sequence = 0; // 1, 2, ... in the order frames were completed
    bool valid = false;
    // Why an invalid frame was rejected: "length" (length byte above 30), "checksum", "trailer",
    // or "cut" (the line hung up before the frame was complete).
    QString error;
    std::uint8_t address = 0;
    std::uint8_t command = 0;
    std::uint8_t selector = 0;
    std::uint8_t channel = 0;
    QByteArray payload;
    // Every byte from the first preamble byte to the last trailer byte, as received.
    QByteArray wire;
    std::vector<std::int64_t> arrivalNs; // one per wire byte
    // Gap from each wire byte to the next byte received on the line. The last entry is the quiet
    // time after the frame; it stays -1 until another byte arrives.
    std::vector<std::int64_t> gapAfterNs;
    std::int64_t quietAfterNs = -1;
    // Whether the frame was lost to a loss fault, and the reply a unit queued for it (empty if none).
    bool lost = false;
    QByteArray reply;

    std::int64_t startNs() const { return arrivalNs.empty() ? -1 : arrivalNs.front(); }
    std::int64_t endNs() const { return arrivalNs.empty() ? -1 : arrivalNs.back(); }
    // Smallest gap between two bytes inside the frame (the pacing floor); -1 with fewer than 2 bytes.
    std::int64_t minGapNs() const
    {
        std::int64_t best = -1;
        for (std::size_t i = 0; i + 1 < gapAfterNs.size(); ++i)
            if (best < 0 || gapAfterNs[i] < best)
                best = gapAfterNs[i];
        return best;
    }
};
