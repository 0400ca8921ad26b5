// The link and program memory procedures with the real paced writer and PumpWait on one side of a
// pseudo-terminal and the virtual unit on the other, in real time. Kept to what the real wire
// adds; the counting of polls, passes and attempts is tested on the virtual clock. (The connect of
// a 16x16 unit over the pty is tolvan16ctl pull's test.)
#include "link/LinkSession.h"
#include "link/LockProcedures.h"
#include "link/PacedWriter.h"
#include "link/PortSettings.h"
#include "link/Session.h"
#include "platform/QtEventPump.h"
#include "programs/ProgramMemory.h"
#include "sim/PtyServer.h"
#include "sim/UnitImage.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMs = 1000000;

struct ProceduresOverPty : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;
    QtEventPump pump;
    std::unique_ptr<Session> session;
    PortSettings ports;
    std::unique_ptr<LinkSession> link;
    std::unique_ptr<ProgramMemory> memory;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("config"));
        ASSERT_TRUE(server.start(dir.filePath("line"))) << server.errorString().toStdString();
        session = std::make_unique<Session>(pump, [](LinkState& l) { return std::make_unique<PacedWriter>(l); });
        ports.setOneRunPath(server.devicePath());
        link = std::make_unique<LinkSession>(*session, ports);
        memory = std::make_unique<ProgramMemory>(*session);
        link->setSettingsUpload([this] { return memory->readUnitSettings(); });
    }
    void TearDown() override
    {
        memory.reset();
        link.reset();
        session.reset(); // drains the writer before the line goes away
        server.stop();
    }

    VirtualUnit& addUnit(int address, int modelCode)
    {
        VirtualUnit* u = nullptr;
        server.withLine([&](SimLine& l) {
            u = &l.addUnit(std::uint8_t(address));
            u->setModel(DeviceModel::fromCode(modelCode));
        });
        return *u;
    }
    void setFaults(int address, const SimFaults& f)
    {
        server.withLine([&](SimLine& l) { l.unit(std::uint8_t(address))->faults() = f; });
    }
    void useModel(int code) { session->store.model = DeviceModel::fromCode(code); }

    std::vector<SimFrame> frames(int command, int selector = -1) const
    {
        std::vector<SimFrame> out;
        for (const SimFrame& f : const_cast<PtyServer&>(server).line().frames())
            if (f.valid && f.command == command && (selector < 0 || f.selector == selector))
                out.push_back(f);
        return out;
    }
    bool connect()
    {
        bool ok = false;
        EXPECT_TRUE(session->runProcedure([&] {
            ASSERT_TRUE(link->prepareConnect());
            ok = link->connect();
        }));
        return ok;
    }
    bool quickConnect(int address = 1)
    {
        bool ok = false;
        link->setAddressBox(address);
        EXPECT_TRUE(session->runProcedure([&] {
            ASSERT_TRUE(link->prepareConnect());
            ok = link->quickConnect();
        }));
        return ok;
    }
    // A running image that differs from the plain default in a few places.
    static MatrixImage marked(const DeviceModel& m)
    {
        MatrixImage im = UnitImage::plainDefault(m);
        im[std::size_t(UnitImage::crosspoint(2, 3))] = 0x01;
        im[std::size_t(UnitImage::crosspoint(2, 3) + 1)] = 0xC2;
        im[std::size_t(UnitImage::outputBlock(4) + UnitImage::kDelay + 1)] = 0x44;
        im[std::size_t(UnitImage::outputBlock(16) + UnitImage::kPolarity)] = 0x80;
        return im;
    }
};

TEST_F(ProceduresOverPty, ConnectTo4x4ReadsTwentyEightChunksEvenFromASlowUnit)
{
    VirtualUnit& u = addUnit(1, 3);
    const MatrixImage running = marked(u.model());
    server.withLine([&](SimLine&) { u.running() = running; });
    SimFaults slow;
    slow.replyLatencyMs = 20;
    setFaults(1, slow);
    useModel(3);

    ASSERT_TRUE(connect());
    // One attempt; a request the loaded machine delays past its poll window is simply asked again.
    EXPECT_EQ(frames(230, 100).size(), 1u);
    EXPECT_GE(frames(204, 0).size(), 28u);
    EXPECT_LE(frames(204, 0).size(), 31u);
    EXPECT_TRUE(std::equal(running.begin(), running.begin() + 448, session->store.loadImage.begin()));
    EXPECT_EQ(session->store.params.crosspoint[2][3], 0x01C2);
}

TEST_F(ProceduresOverPty, SlowUnitTakesAWholeProgramWrite)
{
    VirtualUnit& u = addUnit(1, 3);
    SimFaults slow;
    slow.replyLatencyMs = 20;
    setFaults(1, slow);
    useModel(3);
    ASSERT_TRUE(quickConnect());
    for (std::size_t i = 0; i < session->store.stagingImage.size(); ++i)
        session->store.stagingImage[i] = std::uint8_t(i * 13);

    bool stored = false;
    ASSERT_TRUE(session->runProcedure([&] { stored = memory->writeProgram(6); }));
    EXPECT_TRUE(stored);
    EXPECT_GE(frames(205).size(), 28u);
    EXPECT_LE(frames(205).size(), 31u); // hardly a chunk needed a second send
    MatrixImage got{};
    bool present = false;
    server.withLine([&](SimLine&) {
        got = u.program(6).image;
        present = u.program(6).present;
    });
    EXPECT_TRUE(present);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 448, session->store.stagingImage.begin()));
}

TEST_F(ProceduresOverPty, WrongAddressAnswerCountsAsNoAnswer)
{
    addUnit(1, 11);
    SimFaults f;
    f.wrongAddress = true;
    setFaults(1, f);
    EXPECT_FALSE(quickConnect());
    EXPECT_EQ(session->reply.LastReplyAddress, 2); // the answer came, from address 2
    EXPECT_EQ(session->status().panel4, "OFFLINE");
    EXPECT_EQ(session->link.SendEnabled, 0);
}

TEST_F(ProceduresOverPty, IncompleteUploadIsTriedTenTimesThenOfflineWithTwoDisconnectFrames)
{
    // The handshake is answered every time, the settings upload never completes. (The same with
    // the last chunk of a 16x16 unit is on the virtual clock: over the wire it takes minutes.)
    addUnit(1, 3);
    SimFaults f;
    f.incompleteChunk = 1;
    setFaults(1, f);
    useModel(3);

    EXPECT_FALSE(connect());
    EXPECT_EQ(frames(230, 100).size(), 10u);
    EXPECT_EQ(frames(204, 0).size(), 10u * 15u);
    const auto bye = frames(230, 80);
    ASSERT_EQ(bye.size(), 2u); // the second one too, although sending is switched off right after
    EXPECT_GE(bye[1].startNs() - bye[0].startNs(), 400 * kMs);
    EXPECT_LT(bye[1].startNs() - bye[0].startNs(), 460 * kMs);
    EXPECT_EQ(session->status().panel4, "OFFLINE");
    EXPECT_EQ(session->link.SendEnabled, 0);
    EXPECT_EQ(session->link.LinkConnected, 0);
}

TEST_F(ProceduresOverPty, DisconnectSendsTheFrameTwice300msApart)
{
    addUnit(1, 11);
    ASSERT_TRUE(quickConnect());
    ASSERT_TRUE(session->runProcedure([&] { link->disconnect(); }));
    const auto bye = frames(230, 80);
    ASSERT_EQ(bye.size(), 2u);
    const QByteArray wire = QByteArray::fromHex("41526301e6500001") + QByteArray(1, '\0') +
                            QByteArray::fromHex("38a8b9c3");
    EXPECT_EQ(bye[0].wire, wire);
    EXPECT_EQ(bye[1].wire, wire);
    EXPECT_GE(bye[1].startNs() - bye[0].startNs(), 300 * kMs);
    EXPECT_LT(bye[1].startNs() - bye[0].startNs(), 340 * kMs);
    EXPECT_EQ(session->link.SendEnabled, 0);

    // Not connected but sending on (the Connect dialog's Disconnect): both frames still go out.
    server.line().clearLog();
    ASSERT_TRUE(session->runProcedure([&] {
        ASSERT_TRUE(link->prepareConnect());
        link->disconnect();
    }));
    pump.wait(150);
    EXPECT_EQ(frames(230, 80).size(), 2u);
}

TEST_F(ProceduresOverPty, LockChangePlusMuteSendsChannel132)
{
    VirtualUnit& u = addUnit(1, 11);
    ASSERT_TRUE(quickConnect());
    LockProcedures lock(*session);
    bool locked = false;
    ASSERT_TRUE(session->runProcedure([&] { locked = lock.lock(LockProcedures::Level::ChangeMute, "ab", 1); }));
    EXPECT_TRUE(locked);
    const auto sent = frames(235);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].channel, 132);
    EXPECT_EQ(sent[0].payload, QByteArray("ab  "));
    EXPECT_EQ(session->link.LockState, 132);
    std::uint8_t unitLock = 0;
    server.withLine([&](SimLine&) { unitLock = u.lockState; });
    EXPECT_EQ(unitLock, 132);
}

TEST_F(ProceduresOverPty, HangUpMidReadNeverHangsAndTheNextReadWorks)
{
    VirtualUnit& u = addUnit(1, 3);
    server.withLine([&](SimLine&) { u.running() = marked(u.model()); });
    useModel(3);
    ASSERT_TRUE(quickConnect());

    // The GUI keeps running during the read: a 50 ms timer stands for the status timer.
    int ticks = 0;
    QTimer status;
    QObject::connect(&status, &QTimer::timeout, [&] { ++ticks; });
    status.start(50);
    QTimer::singleShot(600, [&] { server.hangUp(0); });
    const std::int64_t t0 = pump.nowMs();
    ASSERT_TRUE(session->runProcedure([&] { memory->readProgram(0); }));
    const std::int64_t took = pump.nowMs() - t0;
    EXPECT_EQ(server.hangUps(), 1);
    EXPECT_LT(took, 15000);
    EXPECT_GE(ticks, int(took / 50) / 2); // the event loop kept running

    // Once the line is back the next operation works, without anyone reopening by hand.
    bool complete = false;
    ASSERT_TRUE(session->runProcedure([&] {
        memory->readProgram(0);
        complete = memory->readComplete();
    }));
    EXPECT_TRUE(complete);
    MatrixImage got{};
    memory->copyChunksInto(got);
    const MatrixImage expected = marked(u.model());
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 448, got.begin()));
}

} // namespace
