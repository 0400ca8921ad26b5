// Reply parser throughput on a recorded-style reply stream: 100 chunk replies of a connect, repeated.
#include "link/ReplyParser.h"

#include <chrono>
#include <cstdio>
#include <vector>

int main()
{
    std::vector<std::uint8_t> stream;
    for (int rep = 0; rep < 400; ++rep) {
        for (int k = 1; k <= 100; ++k) {
            const std::uint8_t head[] = {0xF5, 0xFA, 0xF7, 0x01, 0x00, 0x00, 0x02, std::uint8_t(k), std::uint8_t(k)};
            stream.insert(stream.end(), head, head + 9);
            for (int j = 0; j < 16; ++j)
                stream.push_back(std::uint8_t(k + j));
            stream.push_back(0x00);
        }
    }
    static ReplyRecord record;
    ReplyParser parser(record);
    double best = 1e9;
    for (int round = 0; round < 10; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        // Chunks of the size a serial read typically delivers.
        for (std::size_t at = 0; at < stream.size(); at += 64)
            parser.parse(stream.data() + at, std::min<std::size_t>(64, stream.size() - at));
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        best = std::min(best, s);
    }
    std::printf("reply parser: %.1f MB/s (%zu bytes per round, best of 10; key 100 count %d)\n",
                double(stream.size()) / best / 1e6, stream.size(), record.KeyedReplies[100].Count);
    return 0;
}
