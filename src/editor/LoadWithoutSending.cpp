#include "editor/LoadWithoutSending.h"

#include "editor/DeferredSend.h"
#include "link/Session.h"

LoadWithoutSending::LoadWithoutSending(Session& session, DeferredSend& deferred)
    : m_session(session), m_deferred(deferred), m_linkConnected(session.link.LinkConnected)
{
    m_deferred.sendPendingNow();
    m_session.link.LinkConnected = 0;
}

LoadWithoutSending::~LoadWithoutSending()
{
    m_deferred.ClearDirtyCounters();
    m_session.link.LinkConnected = m_linkConnected;
}
