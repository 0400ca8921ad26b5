#pragma once
#include "link/FrameTracker.h"
#include "model/MatrixImage.h"

#include <QByteArray>
#include <cstdint>

class Session;

// Result of ReadProgramName.
struct ProgramNameResult {
    bool answered = false;   // chunk 1 arrived complete
    bool inUse = false;      // answered and the present marker (image byte 12) is not 0
    QByteArray name;         // image bytes 0..11 as they are (12 bytes; zeros when not answered)
};

// The unit's program memory: 16 stored programs plus the running settings (program 0), moved in
// 16-byte chunks with command 204 (read), 205 (write), 206 (commit), 202 (recall), 203 (delete).
// Chunk k is image bytes 16(k-1) .. 16k-1; a 4*4 unit (DeviceModel 3) stores 28 chunks / 7 pages,
// every other model 100 chunks / 25 pages.
//
// Blocking procedures on the GUI thread: they poll the Session's ReplyRecord with fixed counts of
// session.pump().wait() calls (which may throw ProcedureAborted: enter through Session::runProcedure)
// and report progress with Session::setProgress. None shows a message; the callers test the result
// or the deciding chunk's Count. Chunks of the last read stay in KeyedReplies until the next read.
// The poll counts of a chunk read or write start once the request has gone out on the line (it
// may wait there behind the previous frame's settling time), so that a unit that answers within
// the window is never missed.
class ProgramMemory {
public:
    static constexpr int kAllPrograms = 40;

    explicit ProgramMemory(Session& session) : m_session(session), m_tracker(session) {}

    // Chunks in a stored program for the session's DeviceModel: 28 (code 3) or 100.
    int chunkCount() const;
    // 64-byte pages in a commit: 7 (code 3) or 25.
    int pageCount() const;

    // Command 204 for chunk k of program p, then up to 49 polls of 1 ms (ends early once the chunk is
    // in), then 2 ms. The caller inspects KeyedReplies[k].
    void readProgramChunk(int program, int chunk);
    // Chunk 1 of program p, asked up to three times.
    ProgramNameResult readProgramName(int program);
    // All chunks of program p in up to 3 passes; a pass is abandoned after 5 unanswered requests for
    // one chunk. Complete when readComplete().
    void readProgram(int program);
    // KeyedReplies[n].Count == 16 for the last chunk n.
    bool readComplete() const;
    // Copies KeyedReplies[1..n].Data[1..16] into image bytes 0 .. 16n-1; the rest is left as it is.
    void copyChunksInto(MatrixImage& image) const;
    // 0.2 s, then up to 3 attempts of 12 s each; true (and CurrentProgram := p) once any reply came.
    bool recallProgram(int program);
    // Command 205 with StagingImage bytes of chunk k, then up to 49 polls of 2 ms for ReplyKey = k.
    void writeProgramChunk(int program, int chunk);
    // StagingImage as program p in up to 3 (4 for DeviceModel 3) passes; commits (206) only when every
    // chunk was acknowledged in one pass and the last reply came from the addressed unit.
    // Returns whether the commit was sent.
    bool writeProgram(int program);
    // Command 206 (pages, program), then 500 ms; nothing is awaited.
    void storeProgram(int pages, int program);
    // Command 203 for program p (1..16) or kAllPrograms. Sent once; callers retry (see deleteWithRetry).
    void deleteProgram(int program);
    // The callers' delete rule: LastReplyAddress := 0, delete, 300 ms, again if no reply, 300 ms.
    // Returns whether a reply came.
    bool deleteWithRetry(int program);
    // ReadProgram(0) and, when the last chunk arrived, copies it into the load image and applies it
    // (ApplyMatrixImage). Returns whether it was applied. Used as LinkSession's settings upload.
    bool readUnitSettings();

private:
    // Sends the command record and waits until the frame is on the line (if it was sent).
    void sendRequest();

    Session& m_session;
    FrameTracker m_tracker;
};
