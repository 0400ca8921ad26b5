// Start-up of tolvan16-designer: time from process start to the main window painted, and the
// resident memory once start-up has settled. The designer prints its own figure (from main())
// 0.3 s after the paint; the spawn-to-paint time adds to it what happens before main() runs
// (loading the program and its libraries), measured here as spawn-to-line less those 0.3 s. Runs the designer with --quit-after-show under the offscreen platform
// (its own empty settings folder each time) and prints figures; asserts nothing.
// Goals: under 300 ms and under 80 MB.
//   bench_startup [PATH_TO_DESIGNER] [RUNS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString exe = argc > 1 ? QString::fromLocal8Bit(argv[1])
                           : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/shell/tolvan16-designer");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    if (!QFileInfo(exe).isExecutable()) {
        std::fprintf(stderr, "bench_startup: no designer at %s\n", qPrintable(exe));
        return 1;
    }

    std::vector<double> wall, inside, rss;
    static const QRegularExpression line(QStringLiteral("shown-ms=(\\d+) rss-kb=(\\d+)"));
    for (int i = 0; i <= runs; ++i) {
        QTemporaryDir config;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer t;
        t.start();
        p.start(exe, {QStringLiteral("--quit-after-show")});
        QByteArray out;
        double shownAt = -1;
        while (p.state() != QProcess::NotRunning || p.bytesAvailable()) {
            p.waitForReadyRead(20);
            out += p.readAllStandardOutput();
            if (shownAt < 0 && out.contains("shown-ms="))
                shownAt = double(t.nsecsElapsed()) / 1e6;
            if (shownAt >= 0)
                break;
            if (t.elapsed() > 20000)
                break;
        }
        p.waitForFinished(10000);
        out += p.readAllStandardOutput();
        const auto m = line.match(QString::fromLatin1(out));
        if (!m.hasMatch() || shownAt < 0) {
            std::fprintf(stderr, "bench_startup: run %d gave no figures (exit %d)\n", i, p.exitCode());
            return 1;
        }
        if (i == 0)
            continue; // the first run warms the file cache
        wall.push_back(shownAt - 300.0);
        inside.push_back(m.captured(1).toDouble());
        rss.push_back(m.captured(2).toDouble() / 1024.0);
    }
    const auto [wmin, wmax] = std::minmax_element(wall.begin(), wall.end());
    const auto [rmin, rmax] = std::minmax_element(rss.begin(), rss.end());
    std::printf("designer start-up over %d runs (offscreen, --quit-after-show)\n", runs);
    std::printf("  spawn to main window painted: median %.1f ms (min %.1f, max %.1f)   goal < 300 ms\n",
                median(wall), *wmin, *wmax);
    std::printf("  main() to first paint, as the designer measures it: median %.1f ms\n", median(inside));
    std::printf("  resident memory 0.3 s after the first paint: median %.1f MB (min %.1f, max %.1f)   goal < 80 MB\n", median(rss),
                *rmin, *rmax);
    return 0;
}
