#pragma once
#include "link/LineTransport.h"
#include "link/LinkState.h"

#include <QMutex>
#include <QThread>
#include <atomic>
#include <deque>
#include <vector>

class PacedWriterWorker;

// The line's one writer: a long-lived thread that owns the serial port, takes frames from a FIFO
// in hand-over order and writes preamble, frame and trailer one byte at a time with at least 3 ms
// after each byte, then keeps the line quiet for the settling time. Reads run on the same thread
// and are never delayed by pacing: every pause is a timer, never a blocking sleep.
// A port error closes the port, waits 30 ms and reopens it; the rest of that frame is lost.
class PacedWriter : public LineTransport {
    Q_OBJECT
public:
    explicit PacedWriter(LinkState& link, QObject* parent = nullptr);
    ~PacedWriter() override;

    void submit(const QByteArray& frame) override;
    void setPortName(const QString& path) override;
    QString portName() const override;
    void setBaudRate(qint32 baud) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;

    // Frames waiting or being written (for tests and shutdown).
    int queuedFrames() const;
    // For measurements: the monotonic time (ns) at which each byte's write returned, in order.
    // Off by default; the log keeps at most 100000 entries.
    void setWriteLogEnabled(bool enabled);
    std::vector<std::int64_t> takeWriteLog();
    // Blocks (without events) until every handed-over frame is finished, at most `ms`.
    bool drain(int ms);

private:
    QThread m_thread;
    PacedWriterWorker* m_worker;
    QString m_portName;
};
