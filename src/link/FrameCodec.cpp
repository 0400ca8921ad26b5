#include "link/FrameCodec.h"

namespace FrameCodec {

QByteArray layout(const CommandRecord& r)
{
    const int n = r.PayloadLength > CommandRecord::kMaxPayload ? CommandRecord::kMaxPayload : r.PayloadLength;
    QByteArray f;
    f.reserve(n + 6);
    f.append(char(r.Address));
    f.append(char(r.Command));
    f.append(char(r.Selector));
    f.append(char(r.Channel));
    f.append(char(n));
    for (int i = 1; i <= n; ++i)
        f.append(char(r.Payload[i]));
    f.append(char(checksum(f)));
    return f;
}

std::uint8_t checksum(const QByteArray& bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += std::uint8_t(c);
    return std::uint8_t(sum & 0xFF);
}

QByteArray wire(const QByteArray& frame)
{
    QByteArray w;
    w.reserve(frame.size() + 6);
    w.append(reinterpret_cast<const char*>(kPreamble), 3);
    w.append(frame);
    w.append(reinterpret_cast<const char*>(kTrailer), 3);
    return w;
}

int settlingMs(std::uint8_t b)
{
    int ms = 5;
    if (b < 200)
        ms += 32;
    if (b == 11)
        ms += 1;
    if (b == 25 || b == 26)
        ms += 100;
    if (b == 27)
        ms += 30;
    return ms;
}

} // namespace FrameCodec
