// tolvan16-sim: one or more virtual units on a pseudo-terminal, served until SIGTERM or SIGINT.
#include "model/DeviceModel.h"
#include "platform/MonotonicClock.h"
#include "sim/PtyServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
int g_signalPipe[2] = {-1, -1}; // the one place a signal handler may write to

void onSignal(int sig)
{
    const char c = sig == SIGUSR1 ? 'h' : 'q';
    [[maybe_unused]] auto n = ::write(g_signalPipe[1], &c, 1);
}

bool parseModel(const QString& text, DeviceModel* out)
{
    static const char* kNames[] = {"4x4", "4x8", "4x16", "8x4", "8x8", "8x16", "16x4", "16x8", "16x16"};
    const QString t = text.trimmed().toLower().replace(QLatin1Char('*'), QLatin1Char('x'));
    for (int i = 0; i < 9; ++i)
        if (t == QLatin1String(kNames[i])) {
            *out = DeviceModel::fromCode(3 + i);
            return true;
        }
    bool ok = false;
    const int code = t.toInt(&ok);
    if (!ok || code < 3 || code > 11)
        return false;
    *out = DeviceModel::fromCode(code);
    return true;
}

QString hex(const QByteArray& b)
{
    return QString::fromLatin1(b.toHex(' ').toUpper());
}

int usage(const QString& message)
{
    std::fprintf(stderr, "tolvan16-sim: %s\n", qPrintable(message));
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvan16-sim"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Virtual TOLVAN16 units on a pseudo-terminal. Prints \"ready <device>\" once serving; "
        "SIGTERM or SIGINT stops it, SIGUSR1 hangs the line up."));
    const QCommandLineOption helpOpt = p.addHelpOption();
    const QCommandLineOption unitOpt(QStringLiteral("unit"), QStringLiteral("A unit at this address (repeatable; default 1)."),
                                     QStringLiteral("address"));
    const QCommandLineOption modelOpt(QStringLiteral("model"), QStringLiteral("Model code 3..11 or 4x4 .. 16x16 (default 16x16)."),
                                      QStringLiteral("model"), QStringLiteral("11"));
    const QCommandLineOption linkOpt(QStringLiteral("link"), QStringLiteral("Make this path a symlink to the device."),
                                     QStringLiteral("path"));
    const QCommandLineOption logOpt(QStringLiteral("log"), QStringLiteral("Log every frame to this file, or - for stdout."),
                                    QStringLiteral("file"));
    const QCommandLineOption silentOpt(QStringLiteral("silent"), QStringLiteral("Fault: units answer nothing."));
    const QCommandLineOption lossOpt(QStringLiteral("loss"), QStringLiteral("Fault: probability 0..1 that a frame is lost."),
                                     QStringLiteral("p"));
    const QCommandLineOption latencyOpt(QStringLiteral("latency"), QStringLiteral("Fault: reply latency in ms."),
                                        QStringLiteral("ms"));
    const QCommandLineOption partialOpt(QStringLiteral("partial"), QStringLiteral("Fault: replies cut short."));
    const QCommandLineOption partialBytesOpt(QStringLiteral("partial-bytes"),
                                             QStringLiteral("Bytes left of a cut reply (default 17)."), QStringLiteral("n"));
    const QCommandLineOption wrongOpt(QStringLiteral("wrong-address"), QStringLiteral("Fault: replies carry the next address."));
    const QCommandLineOption noiseOpt(QStringLiteral("noise"), QStringLiteral("Fault: random bytes between replies."));
    const QCommandLineOption chunkOpt(QStringLiteral("incomplete-chunk"),
                                      QStringLiteral("Fault: the reply to a read of this chunk is cut short."),
                                      QStringLiteral("k"));
    const QCommandLineOption hangOpt(QStringLiteral("hang-up-after"),
                                     QStringLiteral("Fault: hang the line up once, this many ms after it is ready."),
                                     QStringLiteral("ms"));
    const QCommandLineOption downOpt(QStringLiteral("hang-up-down"),
                                     QStringLiteral("How long a hang-up keeps the line down, in ms (default 0)."),
                                     QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption seedOpt(QStringLiteral("seed"), QStringLiteral("Seed for loss and noise."), QStringLiteral("n"));
    p.addOptions({unitOpt, modelOpt, linkOpt, logOpt, silentOpt, lossOpt, latencyOpt, partialOpt, partialBytesOpt,
                  wrongOpt, noiseOpt, chunkOpt, hangOpt, downOpt, seedOpt});
    if (!p.parse(QCoreApplication::arguments()))
        return usage(p.errorText());
    if (p.isSet(helpOpt))
        p.showHelp(0);
    if (!p.positionalArguments().isEmpty())
        return usage(QStringLiteral("unexpected argument %1").arg(p.positionalArguments().first()));

    auto number = [&](const QCommandLineOption& o, double lo, double hi, double* out) {
        bool ok = false;
        const double v = p.value(o).toDouble(&ok);
        if (!ok || v < lo || v > hi)
            return false;
        *out = v;
        return true;
    };

    DeviceModel model;
    if (!parseModel(p.value(modelOpt), &model))
        return usage(QStringLiteral("bad model %1").arg(p.value(modelOpt)));
    QList<int> addresses;
    for (const QString& a : p.values(unitOpt)) {
        bool ok = false;
        const int v = a.toInt(&ok);
        if (!ok || v < 1 || v > 255)
            return usage(QStringLiteral("bad unit address %1").arg(a));
        addresses.append(v);
    }
    if (addresses.isEmpty())
        addresses.append(1);

    SimFaults faults;
    double v = 0;
    faults.silent = p.isSet(silentOpt);
    faults.partialReplies = p.isSet(partialOpt);
    faults.wrongAddress = p.isSet(wrongOpt);
    faults.noiseBetweenReplies = p.isSet(noiseOpt);
    if (p.isSet(lossOpt)) {
        if (!number(lossOpt, 0, 1, &v))
            return usage(QStringLiteral("--loss takes 0..1"));
        faults.lossProbability = v;
    }
    if (p.isSet(latencyOpt)) {
        if (!number(latencyOpt, 0, 60000, &v))
            return usage(QStringLiteral("--latency takes 0..60000 ms"));
        faults.replyLatencyMs = int(v);
    }
    if (p.isSet(partialBytesOpt)) {
        if (!number(partialBytesOpt, 0, 26, &v))
            return usage(QStringLiteral("--partial-bytes takes 0..26"));
        faults.partialReplyBytes = int(v);
    }
    if (p.isSet(chunkOpt)) {
        if (!number(chunkOpt, 1, 100, &v))
            return usage(QStringLiteral("--incomplete-chunk takes 1..100"));
        faults.incompleteChunk = int(v);
    }
    double hangAfter = -1, down = 0, seed = 0;
    if (p.isSet(hangOpt) && !number(hangOpt, 0, 1e9, &hangAfter))
        return usage(QStringLiteral("--hang-up-after takes a time in ms"));
    if (!number(downOpt, 0, 1e9, &down))
        return usage(QStringLiteral("--hang-up-down takes a time in ms"));

    PtyServer server;
    SimLine& line = server.line();
    if (p.isSet(seedOpt)) {
        if (!number(seedOpt, 0, 4294967295.0, &seed))
            return usage(QStringLiteral("bad --seed"));
        line.setSeed(std::uint32_t(seed));
    }
    line.setFaults(faults);
    for (int a : addresses)
        line.addUnit(std::uint8_t(a)).setModel(model);

    std::FILE* log = nullptr;
    if (p.isSet(logOpt)) {
        const QString path = p.value(logOpt);
        log = path == QLatin1String("-") ? stdout : std::fopen(QFile::encodeName(path).constData(), "w");
        if (!log)
            return usage(QStringLiteral("cannot write %1").arg(path));
        const std::int64_t startNs = MonotonicClock::nowNs();
        line.setFrameListener([log, startNs](const SimFrame& f) {
            const double atMs = double(f.endNs() - startNs) / 1e6; // since start-up
            if (f.valid)
                std::fprintf(log, "%.3f frame %llu addr=%u cmd=%u sel=%u ch=%u payload=[%s] min-gap=%.3fms%s reply=[%s]\n",
                             atMs, static_cast<unsigned long long>(f.sequence), f.address, f.command, f.selector,
                             f.channel, qPrintable(hex(f.payload)), double(f.minGapNs()) / 1e6,
                             f.lost ? " lost" : "", qPrintable(hex(f.reply)));
            else
                std::fprintf(log, "%.3f frame %llu invalid (%s) [%s]\n", atMs,
                             static_cast<unsigned long long>(f.sequence), qPrintable(f.error), qPrintable(hex(f.wire)));
            std::fflush(log);
        });
    }

    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return usage(QStringLiteral("cannot create the signal pipe"));
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGUSR1, &sa, nullptr);

    if (!server.start(p.value(linkOpt))) {
        std::fprintf(stderr, "tolvan16-sim: %s\n", qPrintable(server.errorString()));
        return 1;
    }

    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char c;
        while (::read(g_signalPipe[0], &c, 1) == 1) {
            if (c == 'h')
                server.hangUp(int(down));
            else
                app.quit();
        }
    });
    if (hangAfter >= 0)
        QTimer::singleShot(int(hangAfter), &app, [&] { server.hangUp(int(down)); });

    std::printf("ready %s\n", qPrintable(server.devicePath()));
    std::fflush(stdout);
    const int rc = app.exec();
    server.stop();
    if (log && log != stdout)
        std::fclose(log);
    return rc;
}
