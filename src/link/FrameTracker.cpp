#include "link/FrameTracker.h"

#include "link/FrameCodec.h"
#include "link/Session.h"

namespace {
constexpr std::size_t kRemembered = 64;
constexpr int kPreambleAndTrailer = 6;
} // namespace

FrameTracker::FrameTracker(Session& session) : m_session(session)
{
    m_connection = QObject::connect(&session, &Session::frameSubmitted, [this](const QByteArray& frame) {
        ++m_submitted;
        m_recentWireBytes.push_back(int(frame.size()) + kPreambleAndTrailer);
        if (m_recentWireBytes.size() > kRemembered)
            m_recentWireBytes.pop_front();
    });
}

FrameTracker::~FrameTracker()
{
    QObject::disconnect(m_connection);
}

std::int64_t FrameTracker::finishedFrames() const
{
    return m_submitted - m_session.line().queuedFrames();
}

int FrameTracker::wireBytes(std::int64_t seq) const
{
    const std::int64_t back = m_submitted - seq;
    if (back < 0 || back >= std::int64_t(m_recentWireBytes.size()))
        return 0;
    return m_recentWireBytes[m_recentWireBytes.size() - 1 - std::size_t(back)];
}

void FrameTracker::waitUntilWritten(std::int64_t seq, int maxWaitMs)
{
    if (seq <= 0 || seq > m_submitted)
        return;
    // Frames go out in hand-over order: this one starts once every earlier one is finished.
    for (int w = 0; w < maxWaitMs && finishedFrames() < seq - 1; ++w)
        m_session.pump().wait(1);
    if (finishedFrames() >= seq)
        return;
    m_session.pump().wait(wireBytes(seq) * FrameCodec::kByteGapMs);
}

void FrameTracker::waitUntilFinished(std::int64_t seq, int maxWaitMs)
{
    if (seq <= 0 || seq > m_submitted)
        return;
    for (int w = 0; w < maxWaitMs && finishedFrames() < seq; ++w)
        m_session.pump().wait(1);
}
