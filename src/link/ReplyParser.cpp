#include "link/ReplyParser.h"

#include <algorithm>
#include <cstring>

void ReplyParser::reset()
{
    m_streamPosition = m_last245 = m_last250 = m_last247 = 0;
    m_replyIndex = m_inReply = 0;
}

void ReplyParser::parse(const std::uint8_t* bytes, std::size_t length)
{
    while (length > 0) {
        const int n = int(std::min<std::size_t>(length, kWorkingBuffer));
        std::memcpy(m_work, bytes, std::size_t(n));
        parsePass(m_work, n);
        bytes += n;
        length -= std::size_t(n);
    }
}

void ReplyParser::parsePass(const std::uint8_t* bytes, int length)
{
    ReplyRecord& r = m_record;
    for (int i = 1; i <= length; ++i) {
        const std::uint8_t b = bytes[i - 1];
        const std::int64_t pos = m_streamPosition + i;
        if (b == 245) {
            m_last245 = pos;
        } else if (b == 250) {
            m_last250 = pos;
        } else if (b == 247) {
            m_last247 = pos;
            if (m_last250 + 1 == pos && m_last250 == m_last245 + 1 && m_last245 + 2 == pos) {
                m_replyIndex = 10;
                m_inReply = 100;
            }
        }
        if (m_inReply == 100)
            ++m_replyIndex;

        const int idx = m_replyIndex;
        if (m_inReply != 100 || idx < 10 || idx > 34) {
            m_inReply = 0;
            continue;
        }
        switch (idx) {
        case 10:
        case 11:
            break;
        case 12:
            r.ReplyHeader[0] = b;
            r.LastReplyAddress = b;
            r.ReplySeen = ReplyRecord::kReplyArrived;
            r.AwaitingReply = 0;
            break;
        case 13:
            r.ReplyHeader[1] = b;
            break;
        case 14:
            r.ReplyHeader[2] = b;
            break;
        case 15:
            r.ReplyHeader[3] = b;
            break;
        case 16:
            r.ReplyHeader[4] = b;
            r.ReplyTag = b;
            break;
        case 17:
            r.ReplyHeader[5] = b;
            r.ReplyKey = b;
            break;
        case 34:
            m_inReply = 0;
            break;
        default: { // 18..33: data byte j
            const int j = idx - 17;
            if (r.ReplyHeader[3] > 1) {
                KeyedReply& k = r.KeyedReplies[r.ReplyKey];
                k.Data[std::size_t(j)] = b;
                k.Count = j;
            }
            break;
        }
        }
    }
    m_streamPosition += length;
}
