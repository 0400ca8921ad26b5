#include "platform/QtEventPump.h"

#include "platform/MonotonicClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

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
    const std::int64_t end = MonotonicClock::nowNs() + std::int64_t(ms) * 1000000;
    processEvents();
    for (;;) {
        const std::int64_t left = end - MonotonicClock::nowNs();
        if (left <= 0 || abortRequested())
            return;
        QEventLoop loop;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        // Round up: a precise timer may fire a little early, the loop then waits the rest.
        timer.start(int((left + 999999) / 1000000));
        loop.exec();
    }
}
