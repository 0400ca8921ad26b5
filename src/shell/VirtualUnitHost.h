#pragma once
#include <QString>
#include <memory>

class PtyServer;

// The designer's built-in virtual unit (--virtual-unit): one unit at address 1 on a
// pseudo-terminal, served from the server's own thread for as long as this host lives, so that
// connecting, searching and locking work without hardware.
class VirtualUnitHost {
public:
    static constexpr int kAddress = 1;

    VirtualUnitHost();
    ~VirtualUnitHost();

    // Starts serving; false (with errorString()) when no pseudo-terminal could be opened.
    bool start();
    QString devicePath() const;
    QString errorString() const;
    PtyServer& server() { return *m_server; }

private:
    std::unique_ptr<PtyServer> m_server;
};
