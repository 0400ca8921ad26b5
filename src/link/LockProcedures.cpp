#include "link/LockProcedures.h"

#include "link/LinkState.h"
#include "link/Session.h"

namespace {
constexpr std::uint8_t kLockCommand = 235;
constexpr std::uint8_t kUnlockCommand = 236;
constexpr std::uint8_t kAcceptedKey = 100;
constexpr int kRepetitions = 10;
} // namespace

QString LockProcedures::filterPasswordText(const QString& text)
{
    if (text.size() < 2)
        return text;
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 128)
            out.append(c);
    }
    return out;
}

std::array<std::uint8_t, 4> LockProcedures::passwordBytes(const QString& text)
{
    const QByteArray latin = text.left(4).toLatin1();
    std::array<std::uint8_t, 4> bytes{' ', ' ', ' ', ' '};
    for (int i = 0; i < latin.size() && i < 4; ++i)
        bytes[std::size_t(i)] = std::uint8_t(latin[i]);
    return bytes;
}

bool LockProcedures::exchange(std::uint8_t command, const QString& password, int dialogAddress)
{
    Session& s = m_session;
    s.reply.LastReplyAddress = 0;
    const auto pw = passwordBytes(password);
    s.command.Command = command;
    s.command.Selector = 0;
    s.command.PayloadLength = 4;
    for (int i = 0; i < 4; ++i)
        s.command.Payload[std::size_t(i + 1)] = pw[std::size_t(i)];
    s.reply.ReplyKey = 0;
    s.sendCommand();
    if (s.link.LinkConnected != kSet)
        return false;

    s.pump().wait(150);
    for (int rep = 1; rep <= kRepetitions; ++rep) {
        s.sendCommand();
        s.pump().wait(150);
        // A reply from the addressed unit ends the retries, whether it accepted or not.
        const bool last = s.reply.LastReplyAddress == dialogAddress;
        const bool accepted = s.reply.ReplyKey == kAcceptedKey;
        s.pump().wait(150);
        if (accepted)
            return true;
        if (last)
            break;
    }
    return false;
}

bool LockProcedures::lock(Level level, const QString& password, int dialogAddress)
{
    const std::uint8_t channel = std::uint8_t(128 + std::uint8_t(level));
    m_session.command.Channel = channel;
    if (!exchange(kLockCommand, password, dialogAddress))
        return false;
    m_session.link.LockState = channel;
    m_session.setLockMenus(false, true);
    return true;
}

bool LockProcedures::unlock(const QString& password, int dialogAddress)
{
    if (!exchange(kUnlockCommand, password, dialogAddress))
        return false;
    m_session.link.LockState = 0;
    m_session.setLockMenus(true, false);
    return true;
}
