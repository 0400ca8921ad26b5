#include "link/PacedWriter.h"

#include "link/FrameCodec.h"
#include "platform/MonotonicClock.h"
#include "platform/SerialPortAdapter.h"

#include <QLoggingCategory>
#include <QSemaphore>
#include <QTimer>

#include <memory>
#include <pthread.h>
#include <sched.h>

Q_LOGGING_CATEGORY(lcWriter, "t16.link.writer")

namespace {
// The pauses are a floor for the units. Bytes reach the far end of a serial driver (or a
// pseudo-terminal) with some tens of microseconds of jitter, so each pause is aimed a little
// above the floor to keep every gap seen on the line at or above it.
constexpr std::int64_t kPacingMarginNs = 150000;
} // namespace

// Lives on the writer thread. Every member is touched only there, except the queue (m_mutex)
// and the atomics.
class PacedWriterWorker : public QObject {
public:
    explicit PacedWriterWorker(LinkState& link) : m_link(link) {}

    void init()
    {
        // Best effort: a real-time policy keeps the pauses close to 3 ms on a busy machine. Without
        // the privilege the thread simply runs at normal priority; pauses are a minimum either way.
        sched_param param{};
        param.sched_priority = 5;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
        m_port = new SerialPortAdapter(this);
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        m_timer->setTimerType(Qt::PreciseTimer);
        connect(m_timer, &QTimer::timeout, this, [this] { step(); });
        connect(m_port, &SerialPortAdapter::portFailed, this, [this](const QString& why) {
            qCDebug(lcWriter) << "port failed:" << why;
            if (m_phase == Phase::Bytes)
                beginRecovery();
            else if (m_phase == Phase::Idle || m_phase == Phase::Settling)
                m_reopenAfterFailure = true;
        });
    }

    SerialPortAdapter* port() const { return m_port; }

    void enqueue(const QByteArray& frame)
    {
        {
            QMutexLocker lock(&m_mutex);
            m_queue.push_back(frame);
        }
        m_inFlight.fetch_add(1);
        QMetaObject::invokeMethod(this, [this] { kick(); }, Qt::QueuedConnection);
    }

    int inFlight() const { return m_inFlight.load(); }

    bool openPort()
    {
        m_reopenAfterFailure = false;
        m_closedByRequest = false;
        const bool ok = m_port->open();
        m_portOpen = ok;
        return ok;
    }

    // Closes once the frame being written is complete on the line; releases `done` then.
    void closePort(std::shared_ptr<QSemaphore> done)
    {
        if (m_phase == Phase::Bytes) {
            m_closeWaiters.push_back(done);
            return;
        }
        m_port->close();
        m_portOpen = false;
        m_closedByRequest = true;
        done->release();
    }

    // Stops taking frames; the frame being written is finished first. Releases `done` when stopped.
    void stop(std::shared_ptr<QSemaphore> done)
    {
        {
            QMutexLocker lock(&m_mutex);
            m_inFlight.fetch_sub(int(m_queue.size()));
            m_link.PendingFrames.fetch_sub(int(m_queue.size()));
            m_queue.clear();
        }
        m_stopping = true;
        if (m_phase == Phase::Bytes) {
            m_stopWaiter = done;
            return;
        }
        finishStop(done);
    }

    std::atomic<bool> m_portOpen{false};
    std::atomic<bool> m_logWrites{false};
    QMutex m_logMutex;
    std::vector<std::int64_t> m_writeLog; // guarded by m_logMutex

private:
    enum class Phase { Idle, Bytes, Settling, Recovery };

    void finishStop(std::shared_ptr<QSemaphore> done)
    {
        m_timer->stop();
        m_port->close();
        m_portOpen = false;
        m_phase = Phase::Idle;
        done->release();
    }

    void kick()
    {
        if (m_phase != Phase::Idle || m_stopping)
            return;
        QByteArray frame;
        {
            QMutexLocker lock(&m_mutex);
            if (m_queue.empty())
                return;
            frame = m_queue.front();
            m_queue.pop_front();
        }
        if (m_link.SendEnabled.load() != 1) {
            // Dropped: nothing reaches the line and there is no settling time.
            finishFrame();
            QMetaObject::invokeMethod(this, [this] { kick(); }, Qt::QueuedConnection);
            return;
        }
        if (m_reopenAfterFailure || !m_port->isOpen()) {
            // The port opens itself on first use; a failure makes the first write fail below.
            m_reopenAfterFailure = false;
            m_closedByRequest = false;
            m_portOpen = m_port->open();
        }
        m_wire = FrameCodec::wire(frame);
        m_settleMs = FrameCodec::settlingMs(std::uint8_t(frame.size() > 3 ? frame[3] : 0));
        m_index = 0;
        m_phase = Phase::Bytes;
        writeNext();
    }

    void writeNext()
    {
        if (!m_port->writeByte(m_wire[m_index])) {
            beginRecovery();
            return;
        }
        m_lastWriteNs = MonotonicClock::nowNs();
        if (m_logWrites.load()) {
            QMutexLocker lock(&m_logMutex);
            if (m_writeLog.size() < 100000)
                m_writeLog.push_back(m_lastWriteNs);
        }
        ++m_index;
        const bool last = m_index >= m_wire.size();
        if (last) {
            // The frame is complete on the line: a waiting close or stop may go ahead now.
            m_phase = Phase::Settling;
            m_waitNs = std::int64_t(FrameCodec::kByteGapMs + m_settleMs) * 1000000 + kPacingMarginNs;
            releaseCloseWaiters();
            if (m_stopWaiter) {
                auto w = std::move(m_stopWaiter);
                finishStop(w);
                finishFrame();
                return;
            }
        } else {
            m_waitNs = std::int64_t(FrameCodec::kByteGapMs) * 1000000 + kPacingMarginNs;
        }
        armTimer();
    }

    void armTimer()
    {
        // Qt timers count whole milliseconds: wake at the last whole millisecond before the due
        // time and wait out the rest in step(), so a 3.15 ms pause is not stretched to 4 ms.
        const std::int64_t left = m_lastWriteNs + m_waitNs - MonotonicClock::nowNs();
        m_timer->start(left <= 0 ? 0 : int(left / 1000000));
    }

    void step()
    {
        // Pauses are measured from the moment the previous write returned; a timer that fires
        // a little early waits out the rest, so no gap is ever shorter than asked for.
        const std::int64_t now = MonotonicClock::nowNs();
        const std::int64_t due = m_lastWriteNs + m_waitNs;
        if (now < due) {
            if (due - now > 200000) {
                armTimer();
                return;
            }
            while (MonotonicClock::nowNs() < due) {
            }
        }
        switch (m_phase) {
        case Phase::Bytes:
            writeNext();
            break;
        case Phase::Settling:
            m_phase = Phase::Idle;
            finishFrame();
            kick();
            break;
        case Phase::Recovery:
            if (!m_closedByRequest)
                m_portOpen = m_port->open();
            m_phase = Phase::Idle;
            finishFrame();
            kick();
            break;
        case Phase::Idle:
            break;
        }
    }

    void beginRecovery()
    {
        // Close, wait 30 ms, reopen; the rest of this frame is lost.
        m_port->close();
        m_portOpen = false;
        releaseCloseWaiters();
        m_phase = Phase::Recovery;
        m_lastWriteNs = MonotonicClock::nowNs();
        m_waitNs = 30 * 1000000LL;
        if (m_stopWaiter) {
            auto w = std::move(m_stopWaiter);
            finishStop(w);
            finishFrame();
            return;
        }
        armTimer();
    }

    void releaseCloseWaiters()
    {
        for (auto& s : m_closeWaiters) {
            m_port->close();
            m_portOpen = false;
            m_closedByRequest = true;
            s->release();
        }
        m_closeWaiters.clear();
    }

    void finishFrame()
    {
        m_link.PendingFrames.fetch_sub(1);
        m_inFlight.fetch_sub(1);
    }

    LinkState& m_link;
    SerialPortAdapter* m_port = nullptr;
    QTimer* m_timer = nullptr;
    QMutex m_mutex;
    std::deque<QByteArray> m_queue;
    std::atomic<int> m_inFlight{0};
    Phase m_phase = Phase::Idle;
    QByteArray m_wire;
    int m_index = 0;
    int m_settleMs = 0;
    std::int64_t m_lastWriteNs = 0;
    std::int64_t m_waitNs = 0;
    bool m_reopenAfterFailure = false;
    bool m_stopping = false;
    bool m_closedByRequest = false;
    std::vector<std::shared_ptr<QSemaphore>> m_closeWaiters;
    std::shared_ptr<QSemaphore> m_stopWaiter;
};

PacedWriter::PacedWriter(LinkState& link, QObject* parent) : LineTransport(parent), m_worker(new PacedWriterWorker(link))
{
    m_thread.setObjectName(QStringLiteral("t16-writer"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(m_worker, [this] { m_worker->init(); }, Qt::BlockingQueuedConnection);
    connect(m_worker->port(), &SerialPortAdapter::bytesReceived, this, &LineTransport::bytesReceived,
            Qt::QueuedConnection);
}

PacedWriter::~PacedWriter()
{
    // Let handed-over frames (the disconnect frames on close) reach the line, within a bound;
    // then finish the frame being written and stop. Never terminate().
    drain(2000);
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(m_worker, [this, done] { m_worker->stop(done); }, Qt::QueuedConnection);
    done->tryAcquire(1, 2000);
    QMetaObject::invokeMethod(m_worker, [this] { delete m_worker; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait(2000);
}

void PacedWriter::submit(const QByteArray& frame)
{
    m_worker->enqueue(frame);
}

void PacedWriter::setPortName(const QString& path)
{
    m_portName = path;
    QMetaObject::invokeMethod(m_worker, [this, path] { m_worker->port()->setPortName(path); },
                              Qt::BlockingQueuedConnection);
}

QString PacedWriter::portName() const
{
    return m_portName;
}

void PacedWriter::setBaudRate(qint32 baud)
{
    QMetaObject::invokeMethod(m_worker, [this, baud] { m_worker->port()->setBaudRate(baud); },
                              Qt::BlockingQueuedConnection);
}

bool PacedWriter::open()
{
    bool ok = false;
    QMetaObject::invokeMethod(m_worker, [this] { return m_worker->openPort(); }, Qt::BlockingQueuedConnection, &ok);
    return ok;
}

void PacedWriter::close()
{
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(m_worker, [this, done] { m_worker->closePort(done); }, Qt::QueuedConnection);
    // At most one frame's bytes (36 + 6 bytes at 3 ms) stand between the request and the close.
    done->tryAcquire(1, 1000);
}

bool PacedWriter::isOpen() const
{
    return m_worker->m_portOpen.load();
}

int PacedWriter::queuedFrames() const
{
    return m_worker->inFlight();
}

void PacedWriter::setWriteLogEnabled(bool enabled)
{
    m_worker->m_logWrites = enabled;
}

std::vector<std::int64_t> PacedWriter::takeWriteLog()
{
    QMutexLocker lock(&m_worker->m_logMutex);
    std::vector<std::int64_t> log;
    log.swap(m_worker->m_writeLog);
    return log;
}

bool PacedWriter::drain(int ms)
{
    const std::int64_t end = MonotonicClock::nowMs() + ms;
    while (m_worker->inFlight() > 0) {
        if (MonotonicClock::nowMs() >= end)
            return false;
        QThread::msleep(2);
    }
    return true;
}
