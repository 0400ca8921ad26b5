// BuildMatrixImage + ApplyMatrixImage round trips per second (a preset save followed by a load, or
// a program read's decode), on parameters that use every field.
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

int main()
{
    MatrixParameters params;
    ResetMatrixDefaults(params);
    for (std::size_t o = 1; o <= 16; ++o) {
        params.delay[o] = std::uint16_t(100 * o);
        params.crossover[o] = CrossoverSettings{int(300 + o), int(20 + o), int(o), int(27 - o)};
        for (std::size_t b = 1; b <= 5; ++b)
            params.peq[o][b].frequency = int(50 * b + o);
    }
    const DeviceModel model = DeviceModel::fromCode(11);
    MatrixParameters decoded;
    volatile int sink = 0;

    constexpr int kRounds = 10;
    constexpr int kTripsPerRound = 20000;
    double best = 1e18;
    for (int round = 0; round < kRounds; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kTripsPerRound; ++i) {
            params.delay[1] = std::uint16_t(i & 0x3FFF);
            const MatrixImage image = BuildMatrixImage(params, model);
            ApplyMatrixImage(image, decoded);
            sink = sink + decoded.delay[1];
        }
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        best = std::min(best, s);
    }
    std::printf("BuildMatrixImage + ApplyMatrixImage: %.0f round trips per second (%.2f us each, best of %d x %d)\n",
                kTripsPerRound / best, best / kTripsPerRound * 1e6, kRounds, kTripsPerRound);
    return 0;
}
