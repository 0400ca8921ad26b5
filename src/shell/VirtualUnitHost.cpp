#include "shell/VirtualUnitHost.h"

#include "sim/PtyServer.h"

VirtualUnitHost::VirtualUnitHost() : m_server(std::make_unique<PtyServer>()) {}

VirtualUnitHost::~VirtualUnitHost()
{
    m_server->stop();
}

bool VirtualUnitHost::start()
{
    m_server->withLine([](SimLine& line) { line.addUnit(std::uint8_t(kAddress)); });
    return m_server->start();
}

QString VirtualUnitHost::devicePath() const
{
    return m_server->devicePath();
}

QString VirtualUnitHost::errorString() const
{
    return m_server->errorString();
}
