#include "sim/InProcessLine.h"

#include "link/FrameCodec.h"
#include "sim/SimLine.h"
#include "sim/VirtualClockPump.h"

#include <algorithm>

namespace {
constexpr std::int64_t kMs = 1000000;
}

InProcessLine::InProcessLine(LinkState& link, SimLine& line, VirtualClockPump& pump, QObject* parent)
    : LineTransport(parent), m_link(link), m_line(line), m_pump(pump)
{
    m_tickId = m_pump.addTickHandler([this](std::int64_t now) { advance(now, true); });
}

InProcessLine::~InProcessLine()
{
    m_pump.removeTickHandler(m_tickId);
}

bool InProcessLine::open()
{
    m_closeAfterFrame = false;
    m_open = m_available;
    return m_open;
}

void InProcessLine::close()
{
    if (m_current && m_current->fed < m_current->wire.size())
        m_closeAfterFrame = true;
    else
        m_open = false;
}

void InProcessLine::submit(const QByteArray& frame)
{
    m_queue.push_back(Queued{frame, m_pump.nowNs()});
    // An idle line takes the frame at once, as the writer thread would; replies wait for the
    // next clock step, so nothing is parsed inside SendCommand.
    advance(m_pump.nowNs(), false);
}

void InProcessLine::advance(std::int64_t now, bool deliver)
{
    for (;;) {
        if (!m_current) {
            if (m_queue.empty())
                break;
            const std::int64_t turn = std::max(m_freeAtNs, m_queue.front().submittedNs);
            if (turn > now)
                break;
            const QByteArray frame = m_queue.front().frame;
            m_queue.pop_front();
            if (m_link.SendEnabled.load() != 1) {
                // Dropped at its turn: nothing on the line, no settling time.
                m_link.PendingFrames.fetch_sub(1);
                m_freeAtNs = turn;
                continue;
            }
            if (!m_open)
                m_open = m_available;
            OnLine f;
            f.wire = FrameCodec::wire(frame);
            f.startNs = turn;
            const int settle = FrameCodec::settlingMs(std::uint8_t(frame.size() > 3 ? frame[3] : 0));
            f.endNs = turn + (std::int64_t(f.wire.size()) * FrameCodec::kByteGapMs + settle) * kMs;
            m_current = f;
        }
        OnLine& f = *m_current;
        while (f.fed < f.wire.size()) {
            const std::int64_t at = f.startNs + std::int64_t(f.fed) * FrameCodec::kByteGapMs * kMs;
            if (at > now)
                break;
            const std::uint8_t b = std::uint8_t(f.wire[f.fed]);
            if (m_open)
                m_line.feed(&b, 1, at);
            ++f.fed;
            if (f.fed == f.wire.size() && m_closeAfterFrame) {
                m_closeAfterFrame = false;
                m_open = false;
            }
        }
        if (now < f.endNs)
            break;
        m_freeAtNs = f.endNs;
        m_current.reset();
        m_link.PendingFrames.fetch_sub(1);
    }
    if (!deliver)
        return;
    for (auto& out : m_line.takeDue(now))
        if (m_open)
            emit bytesReceived(out.bytes);
}
