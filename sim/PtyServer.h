#pragma once
#include "sim/SimLine.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Serves a SimLine on a pseudo-terminal from its own thread. The host (the designer's
// QSerialPort, or any program) opens the slave device, or the symlink given to start(); the
// server reads the master side with a monotonic timestamp per read, feeds the line and writes
// the units' replies when they are due.
//
// The slave is put in raw mode (no echo, no newline translation) and the server keeps one slave
// descriptor open itself, so the line survives the host closing and reopening it. It watches the
// slave device for the host's opens and closes: replies that come due while no host has the
// device open are lost, as bytes sent to a closed serial port are, instead of waiting in the pty
// for the next open.
// hangUp() closes the master: the host's port sees a read error and must reopen; a new pty
// then takes over behind the same symlink (without a symlink the device path changes).
//
// All public calls may be made from any thread.
class PtyServer {
public:
    // Serves a line of its own.
    PtyServer();
    // Serves `line`, which must outlive the server.
    explicit PtyServer(SimLine& line);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pty, makes `linkPath` (if given) a symlink to the slave device and starts
    // serving. False (with errorString()) when the pty cannot be opened or the link cannot be
    // made; an existing file that is not a symlink is never replaced.
    bool start(const QString& linkPath = {});
    // Stops serving, closes the pty and removes the symlink. Also done by the destructor.
    void stop();
    bool isRunning() const;

    // The symlink if one was given, else the current /dev/pts/N.
    QString devicePath() const;
    // The current /dev/pts/N.
    QString slavePath() const;
    QString errorString() const;

    // Closes the line: the master and the server's own slave descriptor close, the frame in
    // progress ends as "cut", queued replies are lost. After `downMs` a new pty opens behind the
    // symlink (during that time the symlink is gone, so opening it fails). Returns once the old
    // pty is closed (and, with downMs = 0, the new one is open).
    void hangUp(int downMs = 0);
    // How many hang-ups were completed (the new pty is serving).
    int hangUps() const;

    // The line being served. Its own calls are thread-safe; use withLine() to change a unit's
    // memory or faults while serving.
    SimLine& line() { return *m_line; }
    void withLine(const std::function<void(SimLine&)>& block);

    // Whether a host has the device open now.
    bool hostPresent() const;

    // Whether the serving thread runs with a real-time priority (it tries; byte timestamps are
    // then taken promptly even on a busy machine).
    bool realtime() const { return m_realtime.load(); }

private:
    bool openPty(QString* error);
    void closePty();
    bool pointLink(QString* error);
    void removeLink();
    void serve();
    void wake();
    void readWatch(QByteArray& out);

    std::unique_ptr<SimLine> m_ownLine;
    SimLine* m_line;
    QString m_linkPath;

    mutable std::mutex m_mutex; // guards the fields below
    std::condition_variable m_changed;
    int m_masterFd = -1;
    int m_slaveFd = -1;
    QString m_slavePath;
    QString m_error;
    int m_hangUpRequestMs = -1; // >= 0: a hang-up was asked for
    int m_hangUpsClosed = 0;    // hang-ups whose old pty is closed
    int m_hangUps = 0;          // hang-ups whose new pty serves
    std::int64_t m_reopenAtNs = -1;
    bool m_stopRequested = false;

    int m_wakeFd = -1;
    int m_watchFd = -1; // inotify: the host's opens and closes of the slave device
    int m_watch = -1;
    int m_hostOpens = 0;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_realtime{false};
};
