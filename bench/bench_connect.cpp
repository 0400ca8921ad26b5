// The full connect of a 16x16 unit (handshake and the settings read of 100 chunks) against the
// virtual unit running as its own process on a pseudo-terminal, so that this process holds only
// the designer's side: the GUI thread and the paced writer.
//
// Prints per run: the connect's wall time; the line's busy time as the unit saw it (every frame's
// wire bytes x 3 ms plus its settling time, from the unit's frame log); wall / busy (goal <= 1.15);
// and the CPU this process used during the connect (getrusage; goal < 5 % of one core).
//   bench_connect [--sim PATH-TO-tolvan16-sim] [--runs N]
#include "link/FrameCodec.h"
#include "link/LinkSession.h"
#include "link/PacedWriter.h"
#include "link/PortSettings.h"
#include "link/Session.h"
#include "platform/MonotonicClock.h"
#include "platform/QtEventPump.h"
#include "programs/ProgramMemory.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

double processCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

struct LineBusy {
    int frames = 0;
    double busyMs = 0;
};

// Sums wire bytes x 3 ms + settling over every valid frame of the unit's log.
LineBusy busyFromLog(const QString& path)
{
    LineBusy b;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return b;
    static const QRegularExpression re(QStringLiteral(R"(frame \d+ addr=\d+ cmd=\d+ sel=\d+ ch=(\d+) payload=\[([0-9A-F ]*)\])"));
    while (!f.atEnd()) {
        const QString line = QString::fromLatin1(f.readLine());
        const auto m = re.match(line);
        if (!m.hasMatch())
            continue;
        const int channel = m.captured(1).toInt();
        const QString hex = m.captured(2).trimmed();
        const int payload = hex.isEmpty() ? 0 : int(hex.split(QLatin1Char(' ')).size());
        const int wireBytes = 3 + 5 + payload + 1 + 3;
        b.busyMs += wireBytes * FrameCodec::kByteGapMs + FrameCodec::settlingMs(std::uint8_t(channel));
        ++b.frames;
    }
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    QtEventPump::preferLightDispatcher();
    QCoreApplication app(argc, argv);
    QString simPath = QCoreApplication::applicationDirPath() + QStringLiteral("/../sim/tolvan16-sim");
    int runs = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--sim"))
            simPath = args[++i];
        else if (args[i] == QLatin1String("--runs"))
            runs = args[++i].toInt();
    }
    QTemporaryDir dir;
    std::printf("full connect of a 16x16 unit over a pty (goals: wall/busy <= 1.15, CPU < 5 %% of a core)\n");

    for (int run = 1; run <= runs; ++run) {
        const QString log = dir.filePath(QStringLiteral("frames-%1.log").arg(run));
        const QString link = dir.filePath(QStringLiteral("line-%1").arg(run));
        QProcess sim;
        sim.start(simPath, {QStringLiteral("--unit"), QStringLiteral("1"), QStringLiteral("--model"),
                            QStringLiteral("16x16"), QStringLiteral("--link"), link, QStringLiteral("--log"), log});
        if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000) || !sim.readLine().startsWith("ready")) {
            std::fprintf(stderr, "cannot start %s\n", qPrintable(simPath));
            return 1;
        }

        double wallMs = 0, cpuMs = 0;
        bool online = false;
        {
            QtEventPump pump;
            Session session(pump, [](LinkState& l) { return std::make_unique<PacedWriter>(l); });
            session.store.model = DeviceModel::fromCode(11);
            PortSettings ports;
            ports.setOneRunPath(link);
            LinkSession linkSession(session, ports);
            ProgramMemory memory(session);
            linkSession.setSettingsUpload([&] { return memory.readUnitSettings(); });
            session.runProcedure([&] { linkSession.prepareConnect(); });

            const double cpu0 = processCpuMs();
            const std::int64_t t0 = MonotonicClock::nowNs();
            session.runProcedure([&] { online = linkSession.connect(); });
            wallMs = double(MonotonicClock::nowNs() - t0) / 1e6;
            cpuMs = processCpuMs() - cpu0;
        }
        sim.terminate();
        sim.waitForFinished(5000);

        const LineBusy busy = busyFromLog(log);
        std::printf("run %d: %s  wall %8.1f ms  busy %8.1f ms (%d frames)  wall/busy %5.3f  cpu %6.1f ms = %5.2f %% of a core\n",
                    run, online ? "online " : "OFFLINE", wallMs, busy.busyMs, busy.frames,
                    busy.busyMs > 0 ? wallMs / busy.busyMs : 0.0, cpuMs, 100.0 * cpuMs / wallMs);
    }
    return 0;
}
