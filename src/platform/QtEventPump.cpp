#include "platform/QtEventPump.h"

#include "platform/MonotonicClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

struct QtEventPump::Level {
    QEventLoop loop;
    QTimer timer;
    Level()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    }
};

QtEventPump::QtEventPump() = default;
QtEventPump::~QtEventPump() = default;

void QtEventPump::preferLightDispatcher()
{
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

void QtEventPump::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::int64_t QtEventPump::nowMs() const
{
    return MonotonicClock::nowMs();
}

void QtEventPump::waitFor(int ms)
{
    if (ms <= 0) {
        processEvents();
        return;
    }
    const std::int64_t end = MonotonicClock::nowNs() + std::int64_t(ms) * 1000000;
    if (m_levels.size() <= m_depth)
        m_levels.push_back(std::make_unique<Level>());
    Level& level = *m_levels[m_depth];
    ++m_depth;
    for (;;) {
        const std::int64_t left = end - MonotonicClock::nowNs();
        if (left <= 0 || abortRequested())
            break;
        // Round up: should the timer fire a little early, the loop simply waits the rest.
        level.timer.start(int((left + 999999) / 1000000));
        level.loop.exec();
    }
    --m_depth;
}
