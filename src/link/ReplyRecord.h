#pragma once
#include <array>
#include <cstdint>

// What the reply parser files from the units' byte stream. Written by the parser and by the
// callers that reset fields before they send; read by polling procedures.
struct KeyedReply {
    std::int32_t Count = 0;                 // data bytes of the latest reply with this key, 1..16
    std::array<std::uint8_t, 501> Data{};   // indexed 1..500; the parser fills 1..16
};

struct ReplyRecord {
    static constexpr int kKeys = 301; // keys 0..300
    // Reply-seen values: 50 after each send, 100 once a reply's address byte arrived.
    static constexpr std::int32_t kReplyPending = 50;
    static constexpr std::int32_t kReplyArrived = 100;

    std::array<std::uint8_t, 6> ReplyHeader{}; // [0] address, [3] data gate, [4] tag, [5] key
    std::int32_t LastReplyAddress = 0;
    std::uint8_t ReplyTag = 0;
    std::uint8_t ReplyKey = 0;
    std::array<KeyedReply, kKeys> KeyedReplies{};
    std::int32_t ReplySeen = 0;
    std::int32_t AwaitingReply = 0;

    // Count and Data[1..300] of keys 1..300 to 0; key 0 is left alone.
    void ClearKeyedReplies()
    {
        for (int k = 1; k <= 300; ++k) {
            KeyedReplies[k].Count = 0;
            for (int j = 1; j <= 300; ++j)
                KeyedReplies[k].Data[j] = 0;
        }
    }
    // Count and Data[1..16] of keys first..last to 0 (the program reads clear their own keys).
    void clearKeys(int first, int last)
    {
        for (int k = first; k <= last && k < kKeys; ++k) {
            KeyedReplies[k].Count = 0;
            for (int j = 1; j <= 16; ++j)
                KeyedReplies[k].Data[j] = 0;
        }
    }
};
