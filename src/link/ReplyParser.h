#pragma once
#include "link/ReplyRecord.h"

#include <cstddef>
#include <cstdint>

// Finds replies (marker F5 FA F7, header, 16 data bytes, end byte) in the received byte stream and
// files them into a ReplyRecord. A byte-by-byte state machine over absolute stream positions, so
// a reply may be split over chunks anywhere. Never waits, never fails; GUI thread only.
class ReplyParser {
public:
    static constexpr int kWorkingBuffer = 500;

    explicit ReplyParser(ReplyRecord& record) : m_record(record) {}

    // Parses one received chunk of any size (larger chunks go through in working-buffer passes).
    void parse(const std::uint8_t* bytes, std::size_t length);

    std::int64_t streamPosition() const { return m_streamPosition; }
    bool inReply() const { return m_inReply == 100; }
    void reset();

private:
    void parsePass(const std::uint8_t* bytes, int length);

    ReplyRecord& m_record;
    std::int64_t m_streamPosition = 0;
    std::int64_t m_last245 = 0;
    std::int64_t m_last250 = 0;
    std::int64_t m_last247 = 0;
    std::int32_t m_replyIndex = 0;
    std::int32_t m_inReply = 0;
    std::uint8_t m_work[kWorkingBuffer];
};
