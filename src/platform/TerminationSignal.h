#pragma once
#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the GUI thread. The handler itself only writes one
// byte into a socket pair (async-signal-safe); the notifier reads it in the event loop, where the
// owner can end running procedures in order instead of dying in the middle of a frame.
// At most one instance may exist at a time: the handler needs the socket's descriptor in a
// process-wide slot, which the instance owns for its lifetime and releases on destruction.
class TerminationSignal : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

    bool installed() const { return m_installed; }

signals:
    // The number of the signal that arrived.
    void received(int signalNumber);

private:
    int m_fds[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    bool m_installed = false;
};
