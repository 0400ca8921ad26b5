// Event-loop latency of the GUI thread while a burst of 200 edit frames drains to the unit over
// a pseudo-terminal: the matrix editor is on screen (offscreen platform, its flush and system
// timers running), the paced writer and the virtual unit are real, and a probe posts an event
// every 2 ms and records the time until the GUI thread handles it.
//
// The burst is handed over the way a heavy flush tick does it, 200 SendCommand calls from one
// timer slot (each after the first waits its 10 ms courtesy wait, during which the event loop
// runs); then the writer drains the line at 3 ms per byte plus the settling time of each frame.
// Prints median, 99th percentile and maximum per phase (goal: p99 < 16 ms).
//   bench_editor_latency [--frames N]
#include "editor/MatrixCommands.h"
#include "editor/widgets/Form34.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"
#include "platform/MonotonicClock.h"
#include "platform/QtEventPump.h"
#include "sim/PtyServer.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QEvent::Type kProbeEvent = QEvent::Type(QEvent::registerEventType());

struct ProbeEvent : QEvent {
    explicit ProbeEvent(std::int64_t posted) : QEvent(kProbeEvent), postedNs(posted) {}
    std::int64_t postedNs;
};

// Receives the probes on the GUI thread and files each latency under the current phase.
class ProbeReceiver : public QObject {
public:
    int phase = 0; // 0 idle, 1 handing over, 2 draining
    std::vector<double> samples[3];

    bool event(QEvent* e) override
    {
        if (e->type() != kProbeEvent)
            return QObject::event(e);
        const auto* p = static_cast<ProbeEvent*>(e);
        samples[phase].push_back(double(MonotonicClock::nowNs() - p->postedNs) / 1e6);
        return true;
    }
};

void report(const char* name, std::vector<double> v)
{
    if (v.empty()) {
        std::printf("%-12s no samples\n", name);
        return;
    }
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, std::size_t(q * double(v.size() - 1) + 0.5))]; };
    std::printf("%-12s samples %6zu   median %6.3f ms   p99 %6.3f ms   max %6.3f ms\n", name, v.size(), at(0.5),
                at(0.99), v.back());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int frames = 200;
    const QStringList args = app.arguments();
    const int fi = int(args.indexOf(QStringLiteral("--frames")));
    if (fi > 0 && fi + 1 < args.size())
        frames = std::max(1, args[fi + 1].toInt());

    QTemporaryDir dir;
    PtyServer server;
    server.line().addUnit(1);
    if (!dir.isValid() || !server.start(dir.filePath("line"))) {
        std::fprintf(stderr, "cannot start the virtual unit: %s\n", qPrintable(server.errorString()));
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
    session.link.LinkConnected = 100;
    session.command.Address = 1;
    SelectDeviceModel(session.store, 11);

    Form34 editor(session);
    editor.openAt(0, 0);

    ProbeReceiver receiver;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { QCoreApplication::postEvent(&receiver, new ProbeEvent(MonotonicClock::nowNs())); });
    probe.start();

    std::int64_t handOverMs = 0, drainMs = 0;
    QTimer::singleShot(1000, [&] {
        // As a flush tick would: one slot hands over the whole burst.
        receiver.phase = 1;
        MatrixCommands commands(session);
        const std::int64_t t0 = MonotonicClock::nowMs();
        for (int k = 0; k < frames; ++k) {
            session.command.Channel = std::uint8_t(k % 16 + 1);
            commands.SendInputGain(LevelWord(200 + (k * 7) % 461));
        }
        handOverMs = MonotonicClock::nowMs() - t0;
        receiver.phase = 2;
        const std::int64_t t1 = MonotonicClock::nowMs();
        QTimer* watch = new QTimer(&app);
        QObject::connect(watch, &QTimer::timeout, [&, t1, watch] {
            if (session.link.PendingFrames.load() > 0 && server.line().validFrameCount() < std::size_t(frames))
                return;
            drainMs = MonotonicClock::nowMs() - t1;
            watch->stop();
            app.quit();
        });
        watch->start(5);
    });
    app.exec();
    probe.stop();

    std::printf("burst of %d frames: handed over in %lld ms, drained %lld ms later; unit logged %zu frames\n", frames,
                (long long)handOverMs, (long long)drainMs, server.line().validFrameCount());
    report("idle", receiver.samples[0]);
    report("handing over", receiver.samples[1]);
    report("draining", receiver.samples[2]);
    std::vector<double> all;
    for (int p = 1; p <= 2; ++p)
        all.insert(all.end(), receiver.samples[p].begin(), receiver.samples[p].end());
    report("whole burst", all);
    editor.close();
    writer->drain(2000);
    return 0;
}
