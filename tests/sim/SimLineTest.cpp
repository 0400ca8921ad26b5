// The line engine: finding frames in the host's byte stream however it is split, rejecting broken
// frames, timing every byte, and answering only frames addressed to a unit on the line.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

const QByteArray kConnect1 = QByteArray::fromHex("41526301e6640001004ca8b9c3"); // connect, address 1
const QByteArray kProbe5 = QByteArray::fromHex("41526305e70103017b6ca8b9c3");   // search probe, address 5

struct Seen {
    std::vector<std::tuple<int, int, int, int, QByteArray, bool>> frames;
    QByteArray replies;
    std::uint64_t stray = 0;
    bool operator==(const Seen&) const = default;
};

// Feeds `stream` in the given chunks (all at one arrival time) and reports what the line made of it.
Seen run(const QByteArray& stream, const std::vector<int>& cuts)
{
    SimLine line;
    line.addUnit(1);
    line.addUnit(5);
    int from = 0;
    std::int64_t t = 0;
    auto feedTo = [&](int to) {
        line.feed(reinterpret_cast<const std::uint8_t*>(stream.constData()) + from, std::size_t(to - from), t += kMs);
        from = to;
    };
    for (int c : cuts)
        feedTo(c);
    feedTo(int(stream.size()));
    Seen s;
    for (const SimFrame& f : line.frames())
        s.frames.emplace_back(f.address, f.command, f.selector, f.channel, f.payload, f.valid);
    s.replies = drain(line);
    s.stray = line.strayBytes();
    return s;
}

} // namespace

TEST(SimLine, WorkedExampleIsDecodedAndAnswered)
{
    SimLine line;
    line.addUnit(1);
    const std::int64_t last = feedPaced(line, kConnect1, 1000 * kMs);
    const auto frames = line.frames();
    ASSERT_EQ(frames.size(), 1u);
    const SimFrame& f = frames[0];
    EXPECT_TRUE(f.valid);
    EXPECT_EQ(f.address, 1);
    EXPECT_EQ(f.command, 230);
    EXPECT_EQ(f.selector, 100);
    EXPECT_EQ(f.channel, 0);
    EXPECT_EQ(f.payload, bytes({0}));
    EXPECT_EQ(f.wire, kConnect1);
    EXPECT_EQ(f.endNs(), last);

    EXPECT_EQ(line.nextDueNs(), last) << "a unit without latency answers right after the trailer";
    EXPECT_TRUE(line.takeDue(last - 1).empty());
    const auto out = line.takeDue(last);
    ASSERT_EQ(out.size(), 1u);
    const ParsedReply r = parse(out[0].bytes);
    EXPECT_EQ(r.address, 1);
    EXPECT_EQ(r.gate, 2);
    EXPECT_EQ(r.key, 210);
    EXPECT_EQ(line.nextDueNs(), SimLine::kNothingDue);
}

TEST(SimLine, FramesAreFoundHoweverTheStreamIsSplit)
{
    // Two frames with stray bytes before, between (including a lone "A R") and after.
    const QByteArray stream = bytes({0x00, 0x41, 0x13}) + kConnect1 + bytes({0x41, 0x52, 0x99}) + kProbe5 +
                              wire(1, 204, 0, 0, bytes({7})) + bytes({0x41});
    const Seen whole = run(stream, {});
    ASSERT_EQ(whole.frames.size(), 3u);
    for (const auto& f : whole.frames)
        EXPECT_TRUE(std::get<5>(f));
    EXPECT_EQ(whole.replies.size(), 3 * 26);
    EXPECT_EQ(whole.stray, 6u);

    for (int cut = 1; cut < stream.size(); ++cut)
        EXPECT_EQ(run(stream, {cut}), whole) << "split at " << cut;
    std::vector<int> everyByte;
    for (int i = 1; i < stream.size(); ++i)
        everyByte.push_back(i);
    EXPECT_EQ(run(stream, everyByte), whole) << "one byte at a time";
}

TEST(SimLine, BrokenFramesAreLoggedAndIgnored)
{
    struct Case {
        const char* name;
        QByteArray bad;
        const char* error;
    };
    QByteArray badSum = kConnect1;
    badSum[9] = char(0x4D);
    QByteArray badTrailer = kConnect1;
    badTrailer[12] = char(0xC4);
    QByteArray badLength = QByteArray::fromHex("41526301e664001f");
    const Case cases[] = {
        {"checksum", badSum, "checksum"},
        {"trailer", badTrailer, "trailer"},
        {"length above 30", badLength, "length"},
    };
    for (const Case& c : cases) {
        SimLine line;
        line.addUnit(1);
        line.feed(c.bad, kMs);
        line.feed(kConnect1, 2 * kMs); // the next good frame is still found and answered
        const auto frames = line.frames();
        ASSERT_EQ(frames.size(), 2u) << c.name;
        EXPECT_FALSE(frames[0].valid) << c.name;
        EXPECT_EQ(frames[0].error, QString::fromLatin1(c.error)) << c.name;
        EXPECT_TRUE(frames[1].valid) << c.name;
        EXPECT_EQ(line.validFrameCount(), 1u);
        const QByteArray replies = drain(line);
        EXPECT_EQ(replies.size(), 26) << c.name << ": only the good frame is answered";
    }
}

TEST(SimLine, AFrameCutShortByTheNextOneDoesNotHideIt)
{
    // The host lost the rest of a frame (a port error mid-frame); the next frame follows at once.
    SimLine line;
    line.addUnit(1);
    line.feed(kConnect1.left(7), kMs);
    line.feed(kConnect1, 2 * kMs);
    const auto frames = line.frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(frames.back().valid);
    EXPECT_EQ(frames.back().wire, kConnect1);
    EXPECT_EQ(drain(line).size(), 26);
}

TEST(SimLine, EveryByteIsTimedAndTheQuietTimeFollowsTheNextByte)
{
    SimLine line;
    line.addUnit(1);
    // 13 bytes, the gaps grow by 1 ms each: 3, 4, 5, ... ms.
    std::int64_t t = 0;
    std::vector<std::int64_t> at;
    for (int i = 0; i < kConnect1.size(); ++i) {
        at.push_back(t);
        line.feed(reinterpret_cast<const std::uint8_t*>(kConnect1.constData()) + i, 1, t);
        t += (3 + i) * kMs;
    }
    SimFrame f = line.frames().at(0);
    EXPECT_EQ(f.arrivalNs, at);
    ASSERT_EQ(f.gapAfterNs.size(), 13u);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(f.gapAfterNs[std::size_t(i)], (3 + i) * kMs);
    EXPECT_EQ(f.minGapNs(), 3 * kMs);
    EXPECT_EQ(f.quietAfterNs, -1) << "unknown until the next byte";
    EXPECT_EQ(f.gapAfterNs.back(), -1);

    line.feed(bytes({0x00}), at.back() + 37 * kMs);
    f = line.frames().at(0);
    EXPECT_EQ(f.quietAfterNs, 37 * kMs);
    EXPECT_EQ(f.gapAfterNs.back(), 37 * kMs);
}

TEST(SimLine, OnlyTheAddressedUnitAnswers)
{
    SimLine line;
    line.addUnit(1);
    line.addUnit(5);
    line.feed(kProbe5, kMs);
    line.feed(wire(3, 231, 1, 0, bytes({123})), 2 * kMs); // nobody at 3
    line.feed(wire(1, 231, 1, 0, bytes({123})), 3 * kMs);
    const auto out = line.takeDue(10 * kMs);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(parse(out[0].bytes).address, 5);
    EXPECT_EQ(parse(out[1].bytes).address, 1);
    EXPECT_EQ(line.frames().size(), 3u) << "the frame nobody answers is still logged";
    EXPECT_TRUE(line.frames()[1].reply.isEmpty());
    EXPECT_EQ(line.addresses(), (std::vector<std::uint8_t>{1, 5}));
}

TEST(SimLine, AHangUpCutsTheFrameInProgressAndDropsQueuedReplies)
{
    SimLine line;
    line.addUnit(1);
    line.feed(kConnect1, kMs); // answered, reply queued
    line.feed(kConnect1.left(6), 2 * kMs);
    line.lineBroken();
    EXPECT_EQ(line.nextDueNs(), SimLine::kNothingDue);
    auto frames = line.frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_FALSE(frames[1].valid);
    EXPECT_EQ(frames[1].error, QStringLiteral("cut"));
    EXPECT_EQ(frames[1].wire, kConnect1.left(6));

    line.feed(kConnect1, 3 * kMs); // the line is back: a complete frame is answered again
    EXPECT_TRUE(line.frames().back().valid);
    EXPECT_EQ(drain(line).size(), 26);
}

TEST(SimLine, LogCanBeClearedAndWaitedFor)
{
    SimLine line;
    line.feed(kConnect1, kMs);
    EXPECT_EQ(line.frameCount(), 1u);
    EXPECT_TRUE(line.waitForFrames(1, 0));
    EXPECT_FALSE(line.waitForFrames(2, 10));
    line.clearLog();
    EXPECT_EQ(line.frameCount(), 0u);
    EXPECT_TRUE(line.frames().empty());
    line.setLogLimit(2);
    for (int i = 0; i < 5; ++i)
        line.feed(kConnect1, (2 + i) * kMs);
    EXPECT_EQ(line.frames().size(), 2u);
    EXPECT_EQ(line.frames().back().sequence, 6u);
    EXPECT_EQ(line.frameCount(), 5u);
}
