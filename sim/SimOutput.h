#pragma once
#include <QByteArray>
#include <cstdint>

// Bytes a unit puts on the line, and when (nanoseconds on the clock that fed the line).
struct SimOutput {
    std::int64_t dueNs = 0;
    QByteArray bytes;
};
