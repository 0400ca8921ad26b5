#include "link/Session.h"

#include "link/FrameCodec.h"

Session::Session(EventPump& pump, const LineFactory& makeLine, QObject* parent)
    : QObject(parent), m_pump(pump), m_ownedLine(makeLine(link)), m_line(*m_ownedLine), m_parser(reply)
{
    connect(&m_line, &LineTransport::bytesReceived, this, &Session::onBytesReceived);
}

Session::Session(EventPump& pump, LineTransport& line, QObject* parent)
    : QObject(parent), m_pump(pump), m_line(line), m_parser(reply)
{
    connect(&m_line, &LineTransport::bytesReceived, this, &Session::onBytesReceived);
}

Session::~Session()
{
    // The owned line may still deliver bytes while it drains; the parser must not see them.
    if (m_ownedLine)
        disconnect(m_ownedLine.get(), nullptr, this, nullptr);
    m_ownedLine.reset();
}

void Session::sendCommand()
{
    // Snapshot first: the frame carries the command as it stood when the sender called.
    const CommandRecord snapshot = command;

    if (snapshot.Command >= 2 && snapshot.Command <= 195)
        link.SettingsModified = kSet;
    const bool allowed = (link.SendEnabled.load() == 1 && link.LinkConnected == kSet) || snapshot.Command > 201;
    if (!allowed)
        return;
    if (link.PendingFrames.load() > 0)
        m_pump.waitNoThrow(10);

    setActivityText(QStringLiteral("  %1: Receive...").arg(snapshot.Address));
    const QByteArray frame = FrameCodec::layout(snapshot);
    link.PendingFrames.fetch_add(1);
    reply.LastReplyAddress = 0;
    m_line.submit(frame);
    emit frameSubmitted(frame);
    reply.ReplySeen = ReplyRecord::kReplyPending;
    if (editorOnScreen && snapshot.Command < 200)
        reply.AwaitingReply = kSet;
}

bool Session::runProcedure(const std::function<void()>& procedure)
{
    ++m_procedureDepth;
    bool completed = true;
    try {
        procedure();
    } catch (const ProcedureAborted&) {
        completed = false;
    }
    if (--m_procedureDepth == 0)
        m_pump.clearAbort();
    return completed;
}

void Session::setProgress(int value)
{
    m_status.progress = value;
    for (auto* o : m_observers)
        o->progressChanged(value);
}

void Session::setActivityText(const QString& text)
{
    m_status.activityText = text;
    for (auto* o : m_observers)
        o->activityTextChanged(text);
}

void Session::setOnlineDisplay(int led, const QString& panel4)
{
    m_status.onlineLed = led;
    m_status.panel4 = panel4;
    for (auto* o : m_observers)
        o->onlineDisplayChanged(led, panel4);
}

void Session::setLockMenus(bool lockEnabled, bool unlockEnabled)
{
    m_status.lockMenuEnabled = lockEnabled;
    m_status.unlockMenuEnabled = unlockEnabled;
    for (auto* o : m_observers)
        o->lockMenusChanged(lockEnabled, unlockEnabled);
}

void Session::setLayoutPanelEnabled(bool enabled)
{
    m_status.layoutPanelEnabled = enabled;
    for (auto* o : m_observers)
        o->layoutPanelEnabledChanged(enabled);
}

void Session::notifyProgramListCleared()
{
    for (auto* o : m_observers)
        o->programListCleared();
}

void Session::refreshTexts()
{
    setOnlineDisplay(m_status.onlineLed,
                     link.OnlineIndicator == kSet ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
    for (auto* o : m_observers)
        o->refreshTexts();
}

void Session::addObserver(SessionObserver* observer)
{
    m_observers.push_back(observer);
}

void Session::removeObserver(SessionObserver* observer)
{
    std::erase(m_observers, observer);
}

void Session::onBytesReceived(const QByteArray& bytes)
{
    m_parser.parse(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

void Session::clearReceiveBuffer()
{
    // Chunks are parsed as they arrive; nothing waits in a buffer between reads.
}
