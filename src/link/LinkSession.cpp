#include "link/LinkSession.h"

#include "link/PortSettings.h"
#include "link/Session.h"

namespace {
constexpr int kAttempts = 10;
constexpr std::uint8_t kLinkCommand = 230;
constexpr std::uint8_t kHandshakeSelector = 100;
constexpr std::uint8_t kDisconnectSelector = 80;
constexpr std::uint8_t kQuickConnectPayload = 100;
constexpr int kStatusKey = 210;
} // namespace

LinkSession::LinkSession(Session& session, PortSettings& ports)
    : m_session(session), m_ports(ports), m_tracker(session)
{
}

void LinkSession::setAddressBox(int address)
{
    m_addressBox = address < 1 ? 1 : (address > 255 ? 255 : address);
}

int LinkSession::lastSettingsChunk() const
{
    return m_session.store.model.chunkCount();
}

void LinkSession::setButtons(bool enabled)
{
    if (m_observer)
        m_observer->connectButtonsEnabledChanged(enabled);
}

bool LinkSession::prepareConnect()
{
    m_session.line().close();
    m_session.refreshTexts();
    if (!m_ports.reopenPort(m_session))
        return false;
    m_session.link.SendEnabled = 1;
    m_session.reply.LastReplyAddress = 0;
    setButtons(true);
    return true;
}

bool LinkSession::connect()
{
    Session& s = m_session;
    s.link.PendingFrames = 0;
    s.reply.ClearKeyedReplies();
    if (s.link.LinkConnected == kSet)
        disconnect();
    s.clearReceiveBuffer();
    setButtons(false);

    const int address = m_addressBox;
    const int lastChunk = lastSettingsChunk();
    bool success = false;
    for (int i = 1; i <= kAttempts; ++i) {
        if (i >= 3)
            m_ports.reopenPort(s); // a failure shows up as unanswered sends
        s.setProgress(10 * i);
        s.pump().processEvents();
        s.reply.LastReplyAddress = 0;
        s.link.SendEnabled = 1;

        s.reply.LastReplyAddress = 0;
        s.command.Address = std::uint8_t(address);
        s.command.Command = kLinkCommand;
        s.command.Selector = kHandshakeSelector;
        s.command.PayloadLength = 1;
        s.command.Payload[1] = 0;
        s.link.LinkConnected = kSet;
        s.sendCommand();
        s.pump().wait(300);
        s.setActivityText(QStringLiteral("   %1").arg(address));
        for (int w = 0; w < 50; ++w)
            s.pump().wait(1);

        if (s.reply.LastReplyAddress == address && s.reply.KeyedReplies[kStatusKey].Count == 16) {
            applyUnitStatus();
            s.link.LinkConnected = kSet;
            if (m_upload)
                m_upload();
        }
        if (s.reply.KeyedReplies[std::size_t(lastChunk)].Count == 16) {
            s.link.LinkConnected = kSet;
            success = true;
            break;
        }
        s.link.LinkConnected = 0;
    }

    s.setProgress(100);
    s.link.OnlineIndicator = 0;
    if (success) {
        if (m_observer)
            m_observer->connectDialogCloseRequested();
        s.link.SendEnabled = 1;
        s.setOnlineDisplay(100, QStringLiteral("ONLINE"));
        s.link.OnlineIndicator = kSet;
    } else {
        s.link.OnlineIndicator = 0;
        s.link.LockState = 0;
        s.setOnlineDisplay(0, QStringLiteral("OFFLINE"));
        sendDisconnectFrame();
        s.pump().wait(400);
        sendDisconnectFrame();
        // The writer drops frames whose turn comes while SendEnabled is 0: let the second
        // disconnect frame reach the line before sending is switched off.
        waitUntilSent();
        s.link.SendEnabled = 0;
    }
    s.setProgress(0);
    setButtons(true);
    return success;
}

bool LinkSession::quickConnect()
{
    Session& s = m_session;
    s.command.Address = std::uint8_t(m_addressBox);
    s.link.LinkConnected = kSet;
    s.link.SendEnabled = 1;
    s.reply.ReplyHeader[0] = 0;
    s.reply.ReplyKey = 0;

    s.command.Command = kLinkCommand;
    s.command.Selector = kHandshakeSelector;
    s.command.PayloadLength = 1;
    s.command.Payload[1] = kQuickConnectPayload;
    s.sendCommand();
    for (int w = 0; w < 3; ++w)
        s.pump().wait(100);

    if (s.reply.LastReplyAddress == s.command.Address) {
        applyUnitStatus();
        s.setOnlineDisplay(100, QStringLiteral("ONLINE"));
        s.link.LinkConnected = kSet;
        s.link.SendEnabled = 1;
        s.link.OnlineIndicator = kSet;
        if (m_observer)
            m_observer->connectDialogCloseRequested();
        return true;
    }
    s.setOnlineDisplay(0, QStringLiteral("OFFLINE"));
    s.link.LinkConnected = 0;
    s.link.OnlineIndicator = 0;
    s.link.SendEnabled = 0;
    return false;
}

void LinkSession::disconnect()
{
    Session& s = m_session;
    s.setLockMenus(true, false);
    s.link.LockState = 0;
    s.link.OnlineIndicator = 0;
    s.setOnlineDisplay(0, s.status().panel4);
    s.refreshTexts();
    s.notifyProgramListCleared();
    if (s.link.SendEnabled.load() != 1)
        return;

    sendDisconnectFrame();
    s.pump().wait(300);
    sendDisconnectFrame();
    s.reply.LastReplyAddress = 0;
    s.pump().processEvents();

    if (s.link.LinkConnected == kSet) {
        for (int p = 10; p <= 100; p += 10) {
            s.setProgress(p);
            s.pump().wait(100);
        }
    }
    s.link.LinkConnected = 0;
    s.setActivityText(QStringLiteral("   %1: Disconnect").arg(m_addressBox));
    s.setProgress(0);
    waitUntilSent();
    s.link.SendEnabled = 0;
    s.setOnlineDisplay(0, s.status().panel4);
}

void LinkSession::sendDisconnectFrame()
{
    Session& s = m_session;
    s.command.Command = kLinkCommand;
    s.command.Selector = kDisconnectSelector;
    s.command.PayloadLength = 1;
    s.command.Payload[1] = 0;
    s.sendCommand();
}

void LinkSession::waitUntilSent()
{
    m_tracker.waitUntilFinished(m_tracker.lastFrame(), 500);
}

void LinkSession::applyUnitStatus()
{
    Session& s = m_session;
    const KeyedReply& status = s.reply.KeyedReplies[kStatusKey];
    s.link.LockState = status.Data[3];
    s.link.UnitInfo[0] = status.Data[5];
    s.link.UnitInfo[1] = status.Data[6];
    s.link.UnitInfo[2] = status.Data[7];
    if (s.link.LockState < 129) {
        s.setLayoutPanelEnabled(true);
        s.setLockMenus(true, false);
    } else {
        s.setLockMenus(false, true);
        s.setLayoutPanelEnabled(false);
    }
}

void LinkSession::statusTick()
{
    Session& s = m_session;
    if (s.reply.LastReplyAddress > 0) {
        QString text;
        if (s.link.PendingFrames.load() < 2)
            text = QStringLiteral("  %1:Finish...").arg(s.command.Address);
        else if (s.command.Selector < 200)
            text = QStringLiteral("  %1:Please Wait...").arg(s.command.Address);
        if (!text.isEmpty() && text != s.status().activityText)
            s.setActivityText(text);
    }
    const bool locked = s.link.LockState > 128;
    if (locked != m_lockPicture) {
        m_lockPicture = locked;
        if (m_observer)
            m_observer->lockPictureVisibleChanged(locked);
    }
    if (s.status().layoutPanelEnabled == locked)
        s.setLayoutPanelEnabled(!locked);
}
