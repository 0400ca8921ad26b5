#pragma once
#include <QMetaObject>
#include <cstdint>
#include <deque>

class Session;

// Follows the frames a Session hands to its line, so that a procedure can wait until its request
// has really gone out. A request may queue behind earlier frames and their settling time (37 ms
// after most frames); a reply cannot come before the unit has read the request's last byte, so a
// poll window that opened at hand-over would partly expire while the request still waits.
// GUI thread only. Every wait is a 1 ms session.pump().wait() (may throw ProcedureAborted) and is
// bounded, so a stuck writer never holds a procedure.
class FrameTracker {
public:
    explicit FrameTracker(Session& session);
    ~FrameTracker();
    FrameTracker(const FrameTracker&) = delete;
    FrameTracker& operator=(const FrameTracker&) = delete;

    // Sequence number (1, 2, ...) of the last frame handed over since this tracker exists.
    std::int64_t lastFrame() const { return m_submitted; }
    // Frames handed over that the line has finished (written and settled, or dropped). May be
    // negative while frames handed over before this tracker existed are still in the line.
    std::int64_t finishedFrames() const;

    // Returns once frame `seq` has started on the line and its bytes (3 ms each, preamble and
    // trailer included) have had their time; at most about `maxWaitMs` of waiting for its turn.
    void waitUntilWritten(std::int64_t seq, int maxWaitMs = 2000);
    // Returns once frame `seq` is finished (settling time included), at most `maxWaitMs`.
    void waitUntilFinished(std::int64_t seq, int maxWaitMs = 1000);

private:
    int wireBytes(std::int64_t seq) const;

    Session& m_session;
    QMetaObject::Connection m_connection;
    std::int64_t m_submitted = 0;
    std::deque<int> m_recentWireBytes; // wire lengths of the latest frames, newest last
};
