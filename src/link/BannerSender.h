#pragma once
#include <QByteArray>
#include <QString>

class Session;

// The banner dialog's progress bar PB (0..100). GUI thread; the default ignores it.
class BannerObserver {
public:
    virtual ~BannerObserver() = default;
    virtual void bannerProgressChanged(int /*pb*/) {}
};

// Writes two banner lines into a unit with command 70, segments 0..3 of ten characters each
// (line 1 chars 1..10, 11..20, line 2 chars 1..10, 11..20). Lines are padded with spaces to 20 and
// cut at 20. No reply is awaited: 4 x 600 ms + 300 ms at least. send() waits through
// session.pump().wait(): enter it through Session::runProcedure.
class BannerSender {
public:
    static constexpr int kMaxLineLength = 23;  // the text boxes' limit
    static constexpr int kSentLength = 20;
    static QString defaultLine1() { return QStringLiteral("    PROFESSIONAL     "); }
    static QString defaultLine2() { return QStringLiteral("   DSP AMPLIFIER   "); }

    explicit BannerSender(Session& session) : m_session(session) {}
    void setObserver(BannerObserver* observer) { m_observer = observer; }

    // "SEND": `address` is the Connect dialog's address box. Raises SendEnabled / LinkConnected for
    // the duration when sending was off, and puts both back to 0 at the end.
    void send(const QString& line1, const QString& line2, int address);
    int progress() const { return m_pb; }

    // The ten bytes of segment 0..3 (Latin-1, space padded).
    static QByteArray segment(const QString& line1, const QString& line2, int segmentIndex);

private:
    void setPb(int value);
    Session& m_session;
    BannerObserver* m_observer = nullptr;
    int m_pb = 0;
};
