#pragma once
// Frames and replies for the virtual unit's tests. Header only.
#include "link/CommandRecord.h"
#include "link/FrameCodec.h"
#include "sim/SimLine.h"

#include <QByteArray>
#include <cstdint>
#include <initializer_list>

namespace simtest {

constexpr std::int64_t kMs = 1000000;

// The wire bytes (preamble, frame, trailer) of one command.
inline QByteArray wire(int address, int command, int selector, int channel, const QByteArray& payload)
{
    CommandRecord r;
    r.Address = std::uint8_t(address);
    r.Command = std::uint8_t(command);
    r.Selector = std::uint8_t(selector);
    r.Channel = std::uint8_t(channel);
    r.PayloadLength = std::uint8_t(payload.size());
    for (int i = 0; i < payload.size(); ++i)
        r.Payload[std::size_t(i) + 1] = std::uint8_t(payload[i]);
    return FrameCodec::wire(FrameCodec::layout(r));
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// Feeds `w` one byte every 3 ms from `startNs`; returns the arrival time of its last byte.
inline std::int64_t feedPaced(SimLine& line, const QByteArray& w, std::int64_t startNs)
{
    std::int64_t t = startNs;
    for (int i = 0; i < w.size(); ++i) {
        t = startNs + std::int64_t(i) * 3 * kMs;
        line.feed(reinterpret_cast<const std::uint8_t*>(w.constData()) + i, 1, t);
    }
    return t;
}

// Everything the line has queued, whenever due.
inline QByteArray drain(SimLine& line)
{
    QByteArray all;
    for (auto& o : line.takeDue(SimLine::kNothingDue - 1))
        all.append(o.bytes);
    return all;
}

// The reply fields at their byte positions.
struct ParsedReply {
    int address = -1, gate = -1, tag = -1, key = -1;
    QByteArray data;
};
inline ParsedReply parse(const QByteArray& r)
{
    ParsedReply p;
    if (r.size() != 26 || !r.startsWith(QByteArray::fromHex("f5faf7")))
        return p;
    p.address = std::uint8_t(r[3]);
    p.gate = std::uint8_t(r[6]);
    p.tag = std::uint8_t(r[7]);
    p.key = std::uint8_t(r[8]);
    p.data = r.mid(9, 16);
    return p;
}

} // namespace simtest
