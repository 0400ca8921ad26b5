#include "platform/TerminationSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The write end of the active instance's socket pair; the only state a signal handler may touch.
volatile std::sig_atomic_t s_writeFd = -1;

void onSignal(int signalNumber)
{
    const int fd = s_writeFd;
    if (fd >= 0) {
        const unsigned char b = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t n = ::write(fd, &b, 1);
    }
}
} // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent)
{
    if (s_writeFd >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, m_fds) != 0)
        return;
    for (int fd : m_fds) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    s_writeFd = m_fds[0];
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char b = 0;
        while (::read(m_fds[1], &b, 1) == 1)
            emit received(int(b));
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    m_installed = true;
}

TerminationSignal::~TerminationSignal()
{
    if (!m_installed)
        return;
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    s_writeFd = -1;
    delete m_notifier;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}
