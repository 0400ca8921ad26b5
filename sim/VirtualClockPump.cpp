#include "sim/VirtualClockPump.h"

#include <QCoreApplication>

#include <vector>

void VirtualClockPump::processEvents()
{
    tick();
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents();
}

void VirtualClockPump::waitFor(int ms)
{
    for (int i = 0; i < ms; ++i) {
        m_nowNs += 1000000;
        ++m_waitedMs;
        processEvents();
    }
}

int VirtualClockPump::addTickHandler(std::function<void(std::int64_t)> handler)
{
    const int id = m_nextId++;
    m_handlers.emplace(id, std::move(handler));
    return id;
}

void VirtualClockPump::removeTickHandler(int id)
{
    m_handlers.erase(id);
}

void VirtualClockPump::tick()
{
    // A handler may add or remove handlers (a line created or destroyed by a reply handler).
    std::vector<int> ids;
    ids.reserve(m_handlers.size());
    for (const auto& [id, h] : m_handlers)
        ids.push_back(id);
    for (int id : ids) {
        auto it = m_handlers.find(id);
        if (it == m_handlers.end())
            continue;
        const auto handler = it->second; // the handler may remove itself
        handler(m_nowNs);
    }
}
