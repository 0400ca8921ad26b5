// libFuzzer target: the reply parser must take any byte stream, split anywhere, without reading
// or writing outside its buffers, and keep its record consistent.
#include "link/ReplyParser.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the chunk sizes; the rest is the stream.
    unsigned seed = data[0];
    ++data;
    --size;
    static ReplyRecord whole; // large: kept off the stack
    static ReplyRecord split;
    whole = ReplyRecord();
    split = ReplyRecord();
    ReplyParser wholeParser(whole);
    ReplyParser splitParser(split);
    wholeParser.parse(data, size);
    std::size_t at = 0;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        std::size_t n = 1 + (seed >> 16) % 700;
        if (n > size - at)
            n = size - at;
        splitParser.parse(data + at, n);
        at += n;
    }
    // However the stream was cut into chunks, the record is the same.
    if (std::memcmp(&whole, &split, sizeof whole) != 0)
        std::abort();
    if (splitParser.streamPosition() != std::int64_t(size))
        std::abort();
    for (int k = 0; k < ReplyRecord::kKeys; ++k) {
        if (whole.KeyedReplies[k].Count < 0 || whole.KeyedReplies[k].Count > 16)
            std::abort();
    }
    if (whole.LastReplyAddress != whole.ReplyHeader[0])
        std::abort();
    return 0;
}
