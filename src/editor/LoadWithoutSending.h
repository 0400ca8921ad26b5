#pragma once
#include <cstdint>

class DeferredSend;
class Session;

// Scope of a page or channel load in the matrix editor: filling controls from MatrixParameters
// must neither send nor leave marks behind.
//
// On entry, whatever is still marked is sent once for the channel it belongs to (a load may
// change the shown channel, and the marks are cleared on exit), then the editor's own commands
// are switched off by clearing LinkConnected, which SendCommand tests. SendEnabled stays as it
// is: the writer drops queued frames while it is not 1, and the frames just handed over must
// still reach the unit. On exit the counters are cleared and LinkConnected gets back exactly the
// value it had. Nests: an inner scope restores what the outer one set. GUI thread only.
class LoadWithoutSending {
public:
    LoadWithoutSending(Session& session, DeferredSend& deferred);
    ~LoadWithoutSending();
    LoadWithoutSending(const LoadWithoutSending&) = delete;
    LoadWithoutSending& operator=(const LoadWithoutSending&) = delete;

private:
    Session& m_session;
    DeferredSend& m_deferred;
    std::int32_t m_linkConnected;
};
