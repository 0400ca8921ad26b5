// One redraw of the XOVER page's response plot as the page and the 50 ms countdown do it: the
// curve computed from MatrixParameters (normalising first) and the chart's trace replaced, with
// "Shadow" off (394 points) and on (788 points). A second figure adds the repaint of the plot
// that follows on screen. Goal: a redraw well under 2 ms, so that a countdown of 5 never makes a
// dragged slider stutter. Prints median and best per redraw, by wall clock and by this thread's
// CPU time (the machine is shared; the CPU figure leaves out time the thread lost the processor).
#include "editor/CurvePointList.h"
#include "editor/ResponseCurve.h"
#include "editor/widgets/ResponsePlot.h"
#include "model/MatrixOperations.h"

#include <QApplication>
#include <QtCharts/QChartView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <time.h>
#include <vector>

namespace {

MatrixParameters busyOutput()
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    const struct {
        int type, frequency, gain, q;
    } bands[5] = {{0, 60, 690, 10}, {0, 150, 520, 40}, {0, 250, 660, 80}, {1, 300, 640, 20}, {2, 40, 560, 20}};
    for (int b = 1; b <= 5; ++b) {
        PeqBand& band = params.peq[1][std::size_t(b)];
        band.type = std::uint8_t(bands[b - 1].type);
        band.frequency = bands[b - 1].frequency;
        band.gain = bands[b - 1].gain;
        band.q = std::uint8_t(bands[b - 1].q);
        band.flags = 0;
    }
    params.crossover[1] = CrossoverSettings{330, 90, 22, 19};
    return params;
}

double threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e9 + t.tv_nsec;
}

struct Figures {
    double medianWallUs, bestWallUs, medianCpuUs, bestCpuUs;
};

template <typename F>
Figures measure(F&& redraw, int count)
{
    std::vector<double> wall, cpu;
    wall.reserve(std::size_t(count));
    cpu.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const double c0 = threadCpuNs();
        const auto t0 = std::chrono::steady_clock::now();
        redraw(i);
        const auto t1 = std::chrono::steady_clock::now();
        cpu.push_back((threadCpuNs() - c0) / 1e3);
        wall.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    return {median(wall), *std::min_element(wall.begin(), wall.end()), median(cpu),
            *std::min_element(cpu.begin(), cpu.end())};
}

void print(const char* what, const Figures& f)
{
    std::printf("%-34s median %7.1f us (cpu %7.1f)   best %7.1f us (cpu %7.1f)\n", what, f.medianWallUs,
                f.medianCpuUs, f.bestWallUs, f.bestCpuUs);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    MatrixParameters params = busyOutput();
    CurvePointList points;
    ResponsePlot plot;
    plot.resize(760, 300);
    plot.show();
    QApplication::processEvents();

    const int kRedraws = 2000;
    std::printf("XOVER plot redraw: computation + chart update (goal: under 2000 us)\n");
    for (bool shadow : {false, true}) {
        // Every redraw sees a changed band, as while a gain slider is dragged.
        auto redraw = [&](int i) {
            params.peq[1][1].gain = 600 + (i % 120);
            DrawResponseCurvePoints(params, 1, shadow, points);
            plot.setTrace(points);
        };
        measure(redraw, 200); // warm up
        print(shadow ? "redraw, Shadow on (788 points)" : "redraw, Shadow off (394 points)", measure(redraw, kRedraws));
        auto redrawAndPaint = [&](int i) {
            redraw(i);
            plot.view()->viewport()->repaint();
        };
        measure(redrawAndPaint, 50);
        print(shadow ? "  + repaint, Shadow on" : "  + repaint, Shadow off", measure(redrawAndPaint, 400));
    }
    return 0;
}
