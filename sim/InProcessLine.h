#pragma once
#include "link/LineTransport.h"
#include "link/LinkState.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <optional>

class SimLine;
class VirtualClockPump;

// A LineTransport that lays frames on a SimLine in virtual time, for procedure tests with long
// waits. Paces like the real writer: preamble, frame and trailer with 3 ms after each byte, then
// the settling time chosen by frame byte 4; frames go out one at a time in hand-over order and a
// frame is dropped, without settling time, when SendEnabled is not 1 at its turn. PendingFrames
// drops once the virtual time has passed a frame's end. Replies are emitted through
// bytesReceived() on the clock step at which they are due (and lost while the port is closed;
// like the real writer, close() waits for the frame being written and sending a frame opens a
// closed port).
// GUI thread only; the SimLine must not be fed by anyone else meanwhile.
class InProcessLine : public LineTransport {
    Q_OBJECT
public:
    InProcessLine(LinkState& link, SimLine& line, VirtualClockPump& pump, QObject* parent = nullptr);
    ~InProcessLine() override;

    void submit(const QByteArray& frame) override;
    void setPortName(const QString& path) override { m_portName = path; }
    QString portName() const override { return m_portName; }
    void setBaudRate(qint32 baud) override { m_baud = baud; }
    bool open() override;
    // Like the real writer: the frame being written is finished first.
    void close() override;
    bool isOpen() const override { return m_open; }

    // While false, open() fails (a port that is not there).
    void setPortAvailable(bool available) { m_available = available; }
    qint32 baudRate() const { return m_baud; }
    // Frames handed over and not yet finished (waiting, or on the line).
    int queuedFrames() const { return int(m_queue.size()) + (m_current ? 1 : 0); }
    // Virtual time (ns) at which the line has finished everything handed over so far.
    std::int64_t lineFreeAtNs() const { return m_freeAtNs; }

private:
    struct Queued {
        QByteArray frame;
        std::int64_t submittedNs = 0;
    };
    struct OnLine {
        QByteArray wire;
        std::int64_t startNs = 0;
        std::int64_t endNs = 0;
        int fed = 0;
    };

    void advance(std::int64_t nowNs, bool deliver);

    LinkState& m_link;
    SimLine& m_line;
    VirtualClockPump& m_pump;
    int m_tickId = 0;
    QString m_portName;
    qint32 m_baud = 38400;
    bool m_open = false;
    bool m_available = true;
    bool m_closeAfterFrame = false;
    std::deque<Queued> m_queue;
    std::optional<OnLine> m_current;
    std::int64_t m_freeAtNs = 0;
};
