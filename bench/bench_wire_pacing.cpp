// Wire pacing through a pseudo-terminal, as the virtual unit measures it: every byte gap inside
// frames and the settling overrun (quiet time after a frame minus its 3 ms + settling) against
// their floors. Prints median, 99th percentile and minimum.
#include "link/FrameCodec.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "platform/QtEventPump.h"
#include "sim/PtyServer.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

namespace {
void report(const char* what, std::vector<double> v, double floorMs)
{
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))]; };
    const long below = std::count_if(v.begin(), v.end(), [&](double x) { return x < floorMs; });
    std::printf("%-22s n=%5zu  median %7.3f ms  p99 %7.3f ms  min %7.3f ms  below floor: %ld\n", what, v.size(),
                at(0.5), at(0.99), v.front(), below);
}
} // namespace

int main(int argc, char** argv)
{
    QtEventPump::preferLightDispatcher();
    QCoreApplication app(argc, argv);
    PtyServer server;
    if (!server.start()) {
        std::fprintf(stderr, "cannot open a pty: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    QtEventPump pump;
    PacedWriter* writer = nullptr;
    Session session(pump, [&](LinkState& link) {
        auto w = std::make_unique<PacedWriter>(link);
        writer = w.get();
        return w;
    });
    writer->setPortName(server.devicePath());
    if (!writer->open()) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(server.devicePath()));
        return 1;
    }
    session.link.SendEnabled = 1;
    writer->setWriteLogEnabled(true);
    const int channels[] = {0, 3, 11, 27, 200, 5};
    const int frames = 150;
    for (int i = 0; i < frames; ++i) {
        CommandRecord& r = session.command;
        r.Address = 9; // nobody answers: only the host's bytes are on the line
        r.Command = 231;
        r.Selector = 1;
        r.Channel = std::uint8_t(channels[i % 6]);
        r.PayloadLength = std::uint8_t(1 + i % 8);
        for (int j = 1; j <= 8; ++j)
            r.Payload[std::size_t(j)] = std::uint8_t(i + j);
        session.sendCommand();
    }
    while (session.link.PendingFrames.load() > 0)
        pump.wait(20);
    server.line().waitForFrames(std::size_t(frames), 1000);
    std::vector<double> gaps, overrun;
    for (const SimFrame& f : server.line().frames()) {
        for (std::size_t b = 0; b + 1 < f.gapAfterNs.size(); ++b)
            gaps.push_back(double(f.gapAfterNs[b]) / 1e6);
        if (f.quietAfterNs >= 0)
            overrun.push_back(double(f.quietAfterNs) / 1e6 - 3.0 - FrameCodec::settlingMs(f.channel));
    }
    // The writer's own clock: when each byte's write returned (frames are laid out back to back).
    std::vector<double> writerGaps;
    const std::vector<std::int64_t> writes = writer->takeWriteLog();
    std::size_t at = 0;
    for (int i = 0; i < frames; ++i) {
        const std::size_t wire = std::size_t(6 + 6 + 1 + i % 8);
        for (std::size_t b = 0; b + 1 < wire && at + b + 1 < writes.size(); ++b)
            writerGaps.push_back(double(writes[at + b + 1] - writes[at + b]) / 1e6);
        at += wire;
    }
    std::printf("wire pacing over a pty, %d frames (goal: nothing below the floor, median gap <= 3.3 ms)\n", frames);
    report("byte gap, writer", writerGaps, 3.0);
    report("byte gap, unit", gaps, 3.0);
    report("settling overrun", overrun, 0.0);
    return 0;
}
