#include "sim/PtyServer.h"

#include "platform/MonotonicClock.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcPty, "t16.sim.pty")

namespace {
constexpr std::size_t kMaxQueuedOutput = 1 << 20; // a host that never reads loses replies beyond this
constexpr std::int64_t kIdlePollNs = 1000000000;  // wake at least once a second

QString errnoText(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

PtyServer::PtyServer() : m_ownLine(std::make_unique<SimLine>()), m_line(m_ownLine.get()) {}

PtyServer::PtyServer(SimLine& line) : m_line(&line) {}

PtyServer::~PtyServer()
{
    stop();
}

bool PtyServer::start(const QString& linkPath)
{
    if (m_running.load())
        return true;
    m_linkPath = linkPath;
    std::lock_guard lock(m_mutex);
    m_error.clear();
    if (m_watchFd < 0)
        m_watchFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (!openPty(&m_error))
        return false;
    if (!pointLink(&m_error)) {
        closePty();
        return false;
    }
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        m_error = errnoText("eventfd");
        closePty();
        removeLink();
        return false;
    }
    m_stopRequested = false;
    m_running = true;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void PtyServer::stop()
{
    if (!m_running.load())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopRequested = true;
    }
    wake();
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_mutex);
    closePty();
    removeLink();
    ::close(m_wakeFd);
    m_wakeFd = -1;
    if (m_watchFd >= 0)
        ::close(m_watchFd);
    m_watchFd = -1;
    m_running = false;
    m_changed.notify_all();
}

bool PtyServer::isRunning() const
{
    return m_running.load();
}

QString PtyServer::devicePath() const
{
    std::lock_guard lock(m_mutex);
    return m_linkPath.isEmpty() ? m_slavePath : m_linkPath;
}

QString PtyServer::slavePath() const
{
    std::lock_guard lock(m_mutex);
    return m_slavePath;
}

QString PtyServer::errorString() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

void PtyServer::hangUp(int downMs)
{
    std::unique_lock lock(m_mutex);
    if (!m_running.load())
        return;
    const int closedBefore = m_hangUpsClosed;
    const int openBefore = m_hangUps;
    m_hangUpRequestMs = std::max(0, downMs);
    lock.unlock();
    wake();
    lock.lock();
    m_changed.wait(lock, [&] {
        return !m_running.load() || (downMs > 0 ? m_hangUpsClosed > closedBefore : m_hangUps > openBefore);
    });
}

int PtyServer::hangUps() const
{
    std::lock_guard lock(m_mutex);
    return m_hangUps;
}

void PtyServer::withLine(const std::function<void(SimLine&)>& block)
{
    m_line->withLock([&] { block(*m_line); });
}

bool PtyServer::openPty(QString* error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        *error = errnoText("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        *error = errnoText("grantpt/unlockpt/ptsname");
        ::close(master);
        return false;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        *error = errnoText("open slave");
        ::close(master);
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B38400);
        ::cfsetospeed(&tio, B38400);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_masterFd = master;
    m_slaveFd = slave;
    m_slavePath = QString::fromLocal8Bit(name);
    // Watched only after our own descriptor is open: every open seen from now on is the host's.
    m_hostOpens = 0;
    m_watch = m_watchFd >= 0 ? ::inotify_add_watch(m_watchFd, name, IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) : -1;
    return true;
}

void PtyServer::closePty()
{
    if (m_watch >= 0)
        ::inotify_rm_watch(m_watchFd, m_watch);
    m_watch = -1;
    m_hostOpens = 0;
    if (m_masterFd >= 0)
        ::close(m_masterFd);
    if (m_slaveFd >= 0)
        ::close(m_slaveFd);
    m_masterFd = -1;
    m_slaveFd = -1;
}

bool PtyServer::pointLink(QString* error)
{
    if (m_linkPath.isEmpty())
        return true;
    const QFileInfo info(m_linkPath);
    if (info.exists() && !info.isSymLink()) {
        *error = QStringLiteral("%1 exists and is not a symlink").arg(m_linkPath);
        return false;
    }
    // A fresh link under a temporary name, renamed over the old one: the path never dangles
    // into another process's pty.
    const QByteArray target = m_slavePath.toLocal8Bit();
    const QByteArray temp = (m_linkPath + QStringLiteral(".new")).toLocal8Bit();
    ::unlink(temp.constData());
    if (::symlink(target.constData(), temp.constData()) != 0 ||
        ::rename(temp.constData(), m_linkPath.toLocal8Bit().constData()) != 0) {
        *error = errnoText("symlink");
        ::unlink(temp.constData());
        return false;
    }
    return true;
}

void PtyServer::removeLink()
{
    if (m_linkPath.isEmpty())
        return;
    const QFileInfo info(m_linkPath);
    if (info.isSymLink() && info.symLinkTarget() == m_slavePath)
        ::unlink(m_linkPath.toLocal8Bit().constData());
    else if (info.isSymLink() && !info.exists())
        ::unlink(m_linkPath.toLocal8Bit().constData()); // dangling: it pointed at our closed pty
}

bool PtyServer::hostPresent() const
{
    std::lock_guard lock(m_mutex);
    // Without a watch (inotify unavailable) the host is taken to be there.
    return m_watch < 0 || m_hostOpens > 0;
}

void PtyServer::readWatch(QByteArray& out)
{
    alignas(inotify_event) char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_watchFd, buf, sizeof buf);
        if (n <= 0)
            return;
        std::lock_guard lock(m_mutex);
        for (ssize_t i = 0; i < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + i);
            i += ssize_t(sizeof(inotify_event) + e->len);
            if (e->wd != m_watch)
                continue; // a pty closed by a hang-up
            if (e->mask & IN_OPEN) {
                ++m_hostOpens;
            } else if (e->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                m_hostOpens = std::max(0, m_hostOpens - 1);
                if (m_hostOpens == 0 && m_slaveFd >= 0) {
                    // Nobody listens: what the host did not read is gone, as on a real port.
                    ::tcflush(m_slaveFd, TCIFLUSH);
                    out.clear();
                }
            }
        }
    }
}

void PtyServer::wake()
{
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto n = ::write(m_wakeFd, &one, sizeof one);
    }
}

void PtyServer::serve()
{
    // Byte timestamps are only as good as the wake-ups; try for a real-time slot (the thread
    // only ever blocks in ppoll, so it cannot starve the machine).
    sched_param sp{};
    sp.sched_priority = 10;
    m_realtime = ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &sp) == 0;

    QByteArray out;
    std::uint8_t buf[4096];
    for (;;) {
        int master;
        std::int64_t reopenAt;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopRequested)
                break;
            if (m_hangUpRequestMs >= 0) {
                closePty();
                m_line->lineBroken();
                out.clear();
                if (m_hangUpRequestMs == 0) {
                    QString error;
                    if (!openPty(&error) || !pointLink(&error))
                        m_error = error;
                    ++m_hangUps;
                } else {
                    removeLink();
                    m_reopenAtNs = MonotonicClock::nowNs() + std::int64_t(m_hangUpRequestMs) * 1000000;
                }
                ++m_hangUpsClosed;
                m_hangUpRequestMs = -1;
                m_changed.notify_all();
                qCDebug(lcPty) << "hung up; now" << m_slavePath;
            }
            if (m_reopenAtNs >= 0 && MonotonicClock::nowNs() >= m_reopenAtNs) {
                QString error;
                if (!openPty(&error) || !pointLink(&error))
                    m_error = error;
                m_reopenAtNs = -1;
                ++m_hangUps;
                m_changed.notify_all();
            }
            master = m_masterFd;
            reopenAt = m_reopenAtNs;
        }

        std::int64_t now = MonotonicClock::nowNs();
        const bool listening = master >= 0 && hostPresent();
        for (auto& o : m_line->takeDue(now))
            if (listening)
                out.append(o.bytes);
        if (out.size() > qsizetype(kMaxQueuedOutput))
            out.clear();
        if (master >= 0 && !out.isEmpty()) {
            const ssize_t n = ::write(master, out.constData(), std::size_t(out.size()));
            if (n > 0)
                out.remove(0, qsizetype(n));
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                out.clear();
        }

        std::int64_t waitNs = kIdlePollNs;
        const std::int64_t due = m_line->nextDueNs();
        if (due != SimLine::kNothingDue)
            waitNs = std::min(waitNs, std::max<std::int64_t>(0, due - now));
        if (reopenAt >= 0)
            waitNs = std::min(waitNs, std::max<std::int64_t>(0, reopenAt - now));
        pollfd fds[3] = {{m_wakeFd, POLLIN, 0},
                         {m_watchFd, POLLIN, 0},
                         {master, short(POLLIN | (out.isEmpty() ? 0 : POLLOUT)), 0}};
        const timespec ts{time_t(waitNs / 1000000000), long(waitNs % 1000000000)};
        const int ready = ::ppoll(fds, master >= 0 ? 3 : 2, &ts, nullptr);
        if (ready <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            std::uint64_t v;
            [[maybe_unused]] auto r = ::read(m_wakeFd, &v, sizeof v);
        }
        // Opens and closes first: a host that opens and writes at once gets its reply.
        if (fds[1].revents & POLLIN)
            readWatch(out);
        if (master >= 0 && (fds[2].revents & POLLIN)) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            const std::int64_t at = MonotonicClock::nowNs();
            if (n > 0)
                m_line->feed(buf, std::size_t(n), at);
            else if (n < 0 && errno != EAGAIN && errno != EINTR)
                ::usleep(1000); // never spin on a broken master
        } else if (master >= 0 && (fds[2].revents & (POLLHUP | POLLERR))) {
            ::usleep(1000);
        }
    }
}
