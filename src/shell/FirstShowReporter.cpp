#include "shell/FirstShowReporter.h"

#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>

FirstShowReporter::FirstShowReporter(QWidget* window, const QElapsedTimer& sinceStart, QObject* parent)
    : QObject(parent), m_window(window), m_sinceStart(sinceStart)
{
    m_window->installEventFilter(this);
}

long FirstShowReporter::residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

bool FirstShowReporter::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_done && watched == m_window && event->type() == QEvent::Paint) {
        m_done = true;
        // After the paint event has been handled and the frame handed to the window system. The
        // memory is read a moment later, once the windows built after the first paint exist.
        QTimer::singleShot(0, this, [this] {
            const long long shownMs = m_sinceStart.elapsed();
            QTimer::singleShot(300, this, [this, shownMs] {
                std::printf("shown-ms=%lld rss-kb=%ld\n", shownMs, residentKb());
                std::fflush(stdout);
                emit reported();
            });
        });
    }
    return QObject::eventFilter(watched, event);
}
