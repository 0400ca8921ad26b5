#include "link/BannerSender.h"

#include "link/LinkState.h"
#include "link/Session.h"

namespace {
constexpr std::uint8_t kBannerCommand = 70;
constexpr int kSegmentLength = 10;
} // namespace

QByteArray BannerSender::segment(const QString& line1, const QString& line2, int segmentIndex)
{
    QByteArray line = (segmentIndex < 2 ? line1 : line2).toLatin1().left(kSentLength);
    line.append(QByteArray(kSentLength - line.size(), ' '));
    return line.mid((segmentIndex % 2) * kSegmentLength, kSegmentLength);
}

void BannerSender::setPb(int value)
{
    m_pb = value;
    if (m_observer)
        m_observer->bannerProgressChanged(value);
}

void BannerSender::send(const QString& line1, const QString& line2, int address)
{
    Session& s = m_session;
    // Sending is switched on only for this procedure when it was off, and back off however it ends.
    struct Raise {
        LinkState& link;
        bool raised;
        explicit Raise(LinkState& l) : link(l), raised(l.SendEnabled.load() == 0)
        {
            if (raised) {
                link.SendEnabled = 1;
                link.LinkConnected = kSet;
            }
        }
        ~Raise()
        {
            if (raised) {
                link.SendEnabled = 0;
                link.LinkConnected = 0;
            }
        }
    } raise(s.link);

    setPb(0);
    s.command.Address = std::uint8_t(address);
    static constexpr int kProgressAfter[4] = {25, 50, 75, 100};
    setPb(10);
    for (int seg = 0; seg < 4; ++seg) {
        const QByteArray text = segment(line1, line2, seg);
        s.command.Command = kBannerCommand;
        s.command.Selector = std::uint8_t(seg);
        s.command.PayloadLength = kSegmentLength;
        for (int i = 0; i < kSegmentLength; ++i)
            s.command.Payload[std::size_t(i + 1)] = std::uint8_t(text[i]);
        s.sendCommand();
        for (int w = 0; w < 4; ++w)
            s.pump().wait(150);
        setPb(kProgressAfter[seg]);
    }
    s.pump().wait(150);
    s.pump().wait(150);
    setPb(0);
}
