#pragma once
#include <QString>
#include <array>
#include <cstdint>

class Session;

// The front-panel lock (command 235) and unlock (236) with a four-byte password. The dialogs show
// the success messages themselves (texts below) and keep the level choice between uses.
// lock() and unlock() wait through session.pump().wait(): enter them through Session::runProcedure.
class LockProcedures {
public:
    // Values travel as 128 + level in the Channel byte: 129, 130, 132, 136.
    enum class Level : std::uint8_t { Change = 1, ChangeView = 2, ChangeMute = 4, Everything = 8 };

    static QString lockSucceededText() { return QStringLiteral("Lock is succeed..."); }
    static QString lockSucceededCaption() { return QStringLiteral("LOCK"); }
    static QString unlockSucceededText() { return QStringLiteral("Unlock is succeed..."); }
    static QString unlockSucceededCaption() { return QStringLiteral("Unlock"); }

    explicit LockProcedures(Session& session) : m_session(session) {}

    // Lock: sends once; when the link is connected, up to 10 more sends 150 ms + 150 ms apart until
    // the unit at `dialogAddress` answered. On ReplyKey 100: LockState := 128 + level, menus Lock off
    // / UnLock on, returns true. Otherwise nothing changes.
    bool lock(Level level, const QString& password, int dialogAddress);
    // Unlock: the same exchange with command 236 (Channel left as the previous command left it);
    // success sets LockState 0 and menus Lock on / UnLock off.
    bool unlock(const QString& password, int dialogAddress);

    // The text boxes' filter, run on every change: with two or more characters, characters with a
    // code of 128 or more are removed.
    static QString filterPasswordText(const QString& text);
    // The first four characters (Latin-1), padded with spaces to four.
    static std::array<std::uint8_t, 4> passwordBytes(const QString& text);

private:
    bool exchange(std::uint8_t command, const QString& password, int dialogAddress);
    Session& m_session;
};
