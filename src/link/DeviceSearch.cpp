#include "link/DeviceSearch.h"

#include "link/LinkState.h"
#include "link/PortSettings.h"
#include "link/Session.h"

#include <cmath>

namespace {
constexpr std::uint8_t kSearchCommand = 231;
constexpr std::uint8_t kSearchPayload = 123;

// Clears the running flag however the loop ends (normally or by ProcedureAborted).
struct RunningFlag {
    bool& flag;
    explicit RunningFlag(bool& f) : flag(f) { flag = true; }
    ~RunningFlag() { flag = false; }
};
} // namespace

DeviceSearch::DeviceSearch(Session& session, PortSettings& ports) : m_session(session), m_ports(ports) {}

int DeviceSearch::rangeStart(Range range)
{
    static constexpr int kStarts[4] = {1, 65, 129, 193};
    return kStarts[int(range)];
}

int DeviceSearch::rangeEnd(Range range)
{
    static constexpr int kEnds[4] = {64, 128, 192, 255};
    return kEnds[int(range)];
}

void DeviceSearch::setCell(int row, int column, const QString& text)
{
    m_cells[std::size_t(row)][std::size_t(column)] = text;
    if (m_observer)
        m_observer->cellChanged(row, column, text);
}

bool DeviceSearch::open()
{
    m_session.refreshTexts();
    if (!m_ports.reopenPort(m_session, 50))
        return false;
    m_savedAddress = m_session.command.Address;
    if (m_session.link.SendEnabled.load() == 0) {
        m_session.link.SendEnabled = 1;
        m_raisedSendEnabled = true;
    }
    return true;
}

void DeviceSearch::dialogShown()
{
    m_savedAddress = m_session.command.Address;
    m_wasConnected = m_session.link.LinkConnected == kSet;
    if (m_observer) {
        m_observer->scrolledToTop();
        m_observer->stopCaptionChanged(QStringLiteral("Stop"));
    }
    setCell(0, 0, QStringLiteral("Device Count"));
    setCell(0, 1, QStringLiteral("ID+Message"));
}

void DeviceSearch::sendProbe(int address)
{
    CommandRecord& c = m_session.command;
    c.Address = std::uint8_t(address);
    c.Command = kSearchCommand;
    c.Selector = 1;
    c.PayloadLength = 1;
    c.Payload[1] = kSearchPayload;
    m_session.sendCommand();
}

void DeviceSearch::search(Range range)
{
    Session& s = m_session;
    RunningFlag running(m_running);
    if (m_observer) {
        m_observer->scrolledToTop();
        m_observer->searchButtonEnabledChanged(false);
    }
    int row = 1;
    int lastListed = 0;
    m_found.clear();

    const int first = rangeStart(range);
    m_rangeEnd = rangeEnd(range);
    for (int r = 1; r < kRows; ++r) {
        setCell(r, 0, QString());
        setCell(r, 1, QString());
    }
    s.setProgress(0);
    int probes = 0;

    for (m_probeAddress = first; m_probeAddress <= m_rangeEnd; ++m_probeAddress) {
        const int a = m_probeAddress;
        ++probes;
        s.setProgress(int(std::lround(probes * 1.4)));
        setCell(row, 1, QStringLiteral("Search..."));

        s.reply.LastReplyAddress = 0;
        sendProbe(a);
        s.pump().wait(100);
        s.pump().wait(100);
        if (s.reply.LastReplyAddress == 0)
            sendProbe(a);
        if (m_probeAddress == m_rangeEnd)
            s.pump().wait(300);
        for (int w = 0; w < 4; ++w)
            s.pump().wait(30);
        if (s.reply.LastReplyAddress == 0)
            setCell(row, 1, QStringLiteral("No device..."));
        s.pump().wait(200);
        for (int w = 0; w < 3; ++w)
            s.pump().wait(40);
        if (s.reply.LastReplyAddress == 0)
            setCell(row, 1, QStringLiteral("No device..."));

        const int found = s.reply.LastReplyAddress;
        if (found > 0 && found > lastListed) {
            setCell(row, 0, QString::number(row));
            setCell(row, 1, QString::number(found) + QStringLiteral("........OK"));
            if (m_observer)
                m_observer->rowSelected(row + 1);
            ++row;
            lastListed = found;
            m_found.push_back(found);
        }
    }

    s.setProgress(100);
    s.pump().wait(30);
    s.setProgress(0);
    if (m_observer)
        m_observer->searchButtonEnabledChanged(true);
}

void DeviceSearch::stop()
{
    m_probeAddress = 255;
}

void DeviceSearch::ok()
{
    if (m_wasConnected)
        m_session.link.LinkConnected = kSet;
    m_probeAddress = 255;
}

void DeviceSearch::close()
{
    m_session.setProgress(0);
    if (m_observer)
        m_observer->rowSelected(1);
    m_session.command.Address = m_savedAddress;
    m_session.clearReceiveBuffer();
    if (m_raisedSendEnabled) {
        m_session.link.SendEnabled = 0;
        m_raisedSendEnabled = false;
    }
}
