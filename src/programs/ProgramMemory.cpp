#include "programs/ProgramMemory.h"

#include "link/Session.h"
#include "model/MatrixImageCodec.h"

#include <cmath>

namespace {
constexpr std::uint8_t kRecall = 202;
constexpr std::uint8_t kDelete = 203;
constexpr std::uint8_t kReadChunk = 204;
constexpr std::uint8_t kWriteChunk = 205;
constexpr std::uint8_t kCommit = 206;
constexpr std::uint8_t kNoTag = 234; // a tag no chunk reply carries
constexpr int kChunkBytes = 16;
constexpr int kMaxKey = 250;

bool isMatrix(std::uint8_t code) { return code >= 3 && code <= 11; }
bool isSmall(std::uint8_t code) { return code == 3; }
} // namespace

int ProgramMemory::chunkCount() const
{
    return isSmall(m_session.store.model.code) ? 28 : 100;
}

int ProgramMemory::pageCount() const
{
    return isSmall(m_session.store.model.code) ? 7 : 25;
}

void ProgramMemory::sendRequest()
{
    const std::int64_t before = m_tracker.lastFrame();
    m_session.sendCommand();
    if (m_tracker.lastFrame() > before)
        m_tracker.waitUntilWritten(m_tracker.lastFrame());
}

void ProgramMemory::readProgramChunk(int program, int chunk)
{
    Session& s = m_session;
    KeyedReply& entry = s.reply.KeyedReplies[std::size_t(chunk)];
    s.reply.ReplyTag = kNoTag;
    entry.Count = 0;
    s.command.Command = kReadChunk;
    s.command.Selector = std::uint8_t(program);
    s.command.PayloadLength = 1;
    s.command.Payload[1] = std::uint8_t(chunk);
    sendRequest();
    // 49 polls of 1 ms without an answer; once the chunk is in, the counter runs six times as
    // fast, so the line settles for a few more polls before the next request.
    for (int c = 1; c < 50;) {
        ++c;
        s.pump().wait(1);
        if (entry.Count > 15 && s.reply.ReplyTag == chunk)
            c += 5;
    }
    s.pump().wait(2);
}

ProgramNameResult ProgramMemory::readProgramName(int program)
{
    Session& s = m_session;
    KeyedReply& first = s.reply.KeyedReplies[1];
    first.Count = 0;
    for (int j = 1; j <= kChunkBytes; ++j)
        first.Data[std::size_t(j)] = 0;
    readProgramChunk(program, 1);
    for (int t = 0; t < 2; ++t) {
        if (first.Count == 16) {
            s.pump().wait(1);
        } else {
            s.pump().wait(200);
            readProgramChunk(program, 1);
        }
    }
    ProgramNameResult result;
    result.answered = first.Count == 16;
    result.inUse = result.answered && first.Data[13] != 0;
    result.name = QByteArray(reinterpret_cast<const char*>(&first.Data[1]), 12);
    return result;
}

void ProgramMemory::readProgram(int program)
{
    Session& s = m_session;
    const std::uint8_t code = s.store.model.code;
    if (!isMatrix(code))
        return;
    const int n = chunkCount();
    const double f = isSmall(code) ? 3.56 : 1.0;
    s.reply.clearKeys(1, kMaxKey);

    for (int pass = 1; pass <= 3; ++pass) {
        int k = 1;
        int attempts = 0;
        while (k <= n) {
            ++attempts;
            s.setProgress(int(std::floor(k * f)));
            readProgramChunk(program, k);
            s.pump().wait(10);
            if (k == n)
                s.pump().wait(200);
            if (s.reply.KeyedReplies[std::size_t(k)].Count == 16) {
                ++k;
                attempts = 0;
            }
            if (attempts == 5)
                break;
        }
        if (readComplete())
            return;
    }
}

bool ProgramMemory::readComplete() const
{
    return m_session.reply.KeyedReplies[std::size_t(chunkCount())].Count == 16;
}

void ProgramMemory::copyChunksInto(MatrixImage& image) const
{
    const int n = chunkCount();
    for (int k = 1; k <= n; ++k) {
        const KeyedReply& entry = m_session.reply.KeyedReplies[std::size_t(k)];
        for (int j = 0; j < kChunkBytes; ++j)
            image[std::size_t(kChunkBytes * (k - 1) + j)] = entry.Data[std::size_t(j + 1)];
    }
}

bool ProgramMemory::recallProgram(int program)
{
    Session& s = m_session;
    s.pump().wait(200);
    bool answered = false;
    for (int attempt = 1; attempt <= 3 && !answered; ++attempt) {
        s.reply.LastReplyAddress = 0;
        s.command.Command = kRecall;
        s.command.Selector = std::uint8_t(program);
        s.command.PayloadLength = 1;
        s.command.Payload[1] = std::uint8_t(program);
        s.sendCommand();
        // The attempt lasts 12 s whether or not the unit answers early: a recall takes the unit
        // that long to load the program.
        for (int i = 1; i <= 10; ++i) {
            s.setProgress(10 * i);
            s.pump().wait(1200);
        }
        if (s.reply.LastReplyAddress != 0) {
            s.store.currentProgram = std::uint8_t(program);
            answered = true;
        }
    }
    s.setProgress(0);
    return answered;
}

void ProgramMemory::writeProgramChunk(int program, int chunk)
{
    Session& s = m_session;
    s.reply.LastReplyAddress = 0;
    s.reply.ReplyKey = 0;
    s.command.Command = kWriteChunk;
    s.command.Selector = std::uint8_t(program);
    s.command.Channel = std::uint8_t(chunk);
    s.command.PayloadLength = kChunkBytes;
    const int base = kChunkBytes * (chunk - 1);
    for (int j = 0; j < kChunkBytes; ++j)
        s.command.Payload[std::size_t(j + 1)] = s.store.stagingImage[std::size_t(base + j)];
    sendRequest();
    s.pump().wait(5);
    // 49 polls of 2 ms without an acknowledgement.
    for (int c = 1; c < 50;) {
        ++c;
        s.pump().wait(2);
        if (s.reply.ReplyKey == chunk)
            c += 5;
    }
}

bool ProgramMemory::writeProgram(int program)
{
    Session& s = m_session;
    const std::uint8_t code = s.store.model.code;
    if (!isMatrix(code))
        return false;
    const bool small = isSmall(code);
    const int n = chunkCount();
    const int passes = small ? 4 : 3;
    const int waitAfterChunk = small ? 10 : 50;
    const int waitBeforeCommit = small ? 0 : 300;
    const int pages = pageCount();

    bool stored = false;
    for (int i = 1; i <= passes;) {
        int k = 1;
        int attempts = 0;
        while (k <= n) {
            s.setProgress(small ? int(std::floor(3.5 * k)) : k);
            ++attempts;
            s.reply.ReplyKey = 0;
            writeProgramChunk(program, k);
            s.pump().wait(waitAfterChunk);
            if (s.reply.ReplyKey == k) {
                ++k;
                attempts = 0;
            }
            if (attempts > 5)
                break;
        }
        // Commit only a program every chunk of which was acknowledged in this pass, the last
        // acknowledgement coming from the addressed unit.
        if (k > n && s.reply.LastReplyAddress == s.command.Address) {
            if (waitBeforeCommit > 0)
                s.pump().wait(waitBeforeCommit);
            storeProgram(pages, program);
            stored = true;
            break;
        }
        ++i;
        s.setProgress(25 * i);
    }
    s.setProgress(0);
    return stored;
}

void ProgramMemory::storeProgram(int pages, int program)
{
    Session& s = m_session;
    s.reply.LastReplyAddress = 0;
    s.reply.ReplyKey = 0;
    s.command.Command = kCommit;
    s.command.Selector = 0;
    s.command.PayloadLength = 2;
    s.command.Payload[1] = std::uint8_t(pages);
    s.command.Payload[2] = std::uint8_t(program);
    s.sendCommand();
    s.pump().wait(500);
}

void ProgramMemory::deleteProgram(int program)
{
    Session& s = m_session;
    s.command.Command = kDelete;
    s.command.Selector = std::uint8_t(program);
    s.command.PayloadLength = 1;
    s.command.Payload[1] = std::uint8_t(program);
    s.sendCommand();
}

bool ProgramMemory::deleteWithRetry(int program)
{
    Session& s = m_session;
    s.reply.LastReplyAddress = 0;
    deleteProgram(program);
    s.pump().wait(300);
    if (s.reply.LastReplyAddress != 0)
        return true;
    deleteProgram(program);
    s.pump().wait(300);
    return s.reply.LastReplyAddress != 0;
}

bool ProgramMemory::readUnitSettings()
{
    readProgram(0);
    if (!readComplete())
        return false;
    // For a 4*4 unit only bytes 0..447 arrive; the rest of the load image keeps what it held.
    copyChunksInto(m_session.store.loadImage);
    ApplyMatrixImage(m_session.store);
    return true;
}
