// The editor against the virtual unit over a pseudo-terminal: the real paced writer, the real
// event pump and the editor's own timers. Frames are read back from the unit's log with the
// unit's arrival time of every byte.
#include "NamedControls.h"

#include "editor/widgets/DelayPage.h"
#include "editor/widgets/Form34.h"
#include "editor/widgets/InputGainPage.h"
#include "editor/widgets/MatrixControlPage.h"
#include "editor/widgets/ValueBox.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"
#include "model/ValueCodes.h"
#include "platform/QtEventPump.h"
#include "sim/PtyServer.h"

#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kMs = 1000000;

struct EditorOverPty : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;
    QtEventPump pump;
    std::unique_ptr<Session> session;
    PacedWriter* writer = nullptr;
    std::unique_ptr<Form34> editor;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        server.line().addUnit(1);
        ASSERT_TRUE(server.start(dir.filePath("line"))) << server.errorString().toStdString();
        session = std::make_unique<Session>(pump, [this](LinkState& link) {
            auto w = std::make_unique<PacedWriter>(link);
            writer = w.get();
            return w;
        });
        writer->setPortName(server.devicePath());
        ASSERT_TRUE(writer->open());
        session->link.SendEnabled = 1;
        session->link.LinkConnected = 100;
        session->command.Address = 1;
        SelectDeviceModel(session->store, 11);
        editor = std::make_unique<Form34>(*session);
    }

    void TearDown() override
    {
        editor.reset();
        writer->drain(2000);
    }

    // Opens the editor as the overview does and waits until the page rule has switched the
    // page's flush timer on (at the next one-second tick).
    void open(int page, int tab, DeferredSend::FlushTimer timer)
    {
        editor->openAt(page, tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        for (int waited = 0; waited < 1500 && !editor->deferred().isOn(timer); waited += 10)
            pump.wait(10);
        ASSERT_TRUE(editor->deferred().isOn(timer));
        server.line().clearLog();
    }

    std::vector<SimFrame> framesWith(int command)
    {
        std::vector<SimFrame> out;
        for (const auto& f : server.line().frames())
            if (f.valid && f.command == command)
                out.push_back(f);
        return out;
    }

    void waitMs(int ms) { pump.wait(ms); }

    bool waitFrames(std::size_t n, int ms)
    {
        for (int waited = 0; waited < ms; waited += 10) {
            if (server.line().validFrameCount() >= n)
                return true;
            pump.wait(10);
        }
        return server.line().validFrameCount() >= n;
    }

    // The input gain word the unit runs with (image bytes 32 + 2(i - 1), high byte first).
    int unitInputGain(int input)
    {
        int word = 0;
        server.withLine([&](SimLine& line) {
            const MatrixImage& im = line.unit(1)->running();
            word = im[std::size_t(32 + 2 * (input - 1))] * 256 + im[std::size_t(33 + 2 * (input - 1))];
        });
        return word;
    }
};

} // namespace

TEST_F(EditorOverPty, OneFaderMoveSendsTheInputTwiceWithTheValueOfEachTick)
{
    session->store.params.inputGain[3] = 0x0258;
    open(0, 0, DeferredSend::FinishInTime);
    QSlider* fader = findNamed<QSlider>(editor.get(), "Input 3 gain");
    ASSERT_NE(fader, nullptr);
    fader->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(fader, Qt::Key_PageUp); // one move: 600 -> 610
    EXPECT_EQ(session->store.params.inputGain[3], 610);

    ASSERT_TRUE(waitFrames(1, 1000));
    // Stored after the first tick without a new mark: the second tick reads it.
    session->store.params.inputGain[3] = 0x8262;
    waitMs(1500);

    const auto frames = framesWith(21);
    ASSERT_EQ(frames.size(), 2u);
    for (const auto& f : frames) {
        EXPECT_EQ(f.selector, 3);
        EXPECT_EQ(f.channel, 3);
    }
    EXPECT_EQ(frames[0].payload.toHex(), "0262");
    EXPECT_EQ(frames[1].payload.toHex(), "8262");
    const double apartMs = double(frames[1].startNs() - frames[0].startNs()) / kMs;
    EXPECT_NEAR(apartMs, 300.0, 40.0);
    EXPECT_EQ(server.line().validFrameCount(), 2u);
}

TEST_F(EditorOverPty, CrosspointOfInputFiveOnOutputThree)
{
    open(1, 2, DeferredSend::FinishMatrixTime);
    ASSERT_EQ(editor->matrixPage()->shownOutput(), 3);
    QSlider* fader = findNamed<QSlider>(editor.get(), "Input 5 to output 3 gain");
    ASSERT_NE(fader, nullptr);
    fader->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(fader, Qt::Key_PageDown);
    ASSERT_TRUE(waitFrames(2, 1500));
    const auto frames = framesWith(32);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].selector, 5);
    EXPECT_EQ(frames[0].channel, 3);
    EXPECT_EQ(frames[0].payload.toHex(), "024e");
}

TEST_F(EditorOverPty, UnansweredCommandIsSentAgainEverySecondUntilAReply)
{
    SimFaults silent;
    silent.silent = true;
    server.withLine([&](SimLine& line) { line.setFaults(silent); });
    open(3, 0, DeferredSend::FinishDelayTime);
    QSlider* fader = findNamed<QSlider>(editor.get(), "Output 2 delay");
    fader->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(fader, Qt::Key_PageUp);
    // Two flush ticks, then repeats a second apart.
    waitMs(3000);
    auto frames = framesWith(24);
    ASSERT_GE(frames.size(), 4u);
    for (std::size_t k = 3; k < frames.size(); ++k) {
        const double gapMs = double(frames[k].startNs() - frames[k - 1].startNs()) / kMs;
        EXPECT_NEAR(gapMs, 1000.0, 60.0) << k;
    }
    for (const auto& f : frames)
        EXPECT_EQ(f.payload.toHex(), "000064");

    server.withLine([&](SimLine& line) { line.setFaults(SimFaults{}); });
    for (int waited = 0; waited < 1300 && session->reply.ReplySeen != 100; waited += 10)
        waitMs(10); // the next repeat is answered
    EXPECT_EQ(session->reply.ReplySeen, 100);
    const std::size_t answered = framesWith(24).size();
    waitMs(1100);
    EXPECT_EQ(framesWith(24).size(), answered);
}

TEST_F(EditorOverPty, TypedMaximumDelayGoesOutAsItsThreeBytes)
{
    open(3, 0, DeferredSend::FinishDelayTime);
    ValueBox* box = findNamed<ValueBox>(editor.get(), "Output 4 delay value");
    ASSERT_NE(box, nullptr);
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClicks(box, "1365.0");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_TRUE(waitFrames(2, 1500));
    const auto frames = framesWith(24);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0].selector, 4);
    EXPECT_EQ(frames[0].channel, 4);
    EXPECT_EQ(frames[0].payload.toHex(), "003552");
}

TEST_F(EditorOverPty, LoadingAnyPageSendsNothingAndLeavesNoMark)
{
    for (int c = 1; c <= 16; ++c) {
        session->store.params.inputGain[std::size_t(c)] = LevelWord(0x8000 | (250 + c));
        session->store.params.outputGain[std::size_t(c)] = LevelWord(500 + c);
        session->store.params.delay[std::size_t(c)] = std::uint16_t(700 * c);
        for (int i = 1; i <= 16; ++i)
            session->store.params.crosspoint[std::size_t(c)][std::size_t(i)] = LevelWord(210 + 20 * c + i);
    }
    open(0, 0, DeferredSend::FinishInTime);
    for (int page = 0; page < 6; ++page) {
        editor->pages()->setCurrentIndex(page);
        if (QTabBar* tabs = editor->channelTabs(page))
            for (int t = 0; t < tabs->count(); ++t)
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(t).center());
        EXPECT_FALSE(editor->deferred().anyPending()) << page;
        EXPECT_EQ(editor->deferred().peqBandCounter(), 0) << page;
        EXPECT_EQ(editor->deferred().highPassCounter(), 0) << page;
        EXPECT_EQ(editor->deferred().lowPassCounter(), 0) << page;
        waitMs(350); // a flush tick of every timer that runs
    }
    editor->close();
    editor->openAt(5, 3); // and a whole show
    waitMs(1100);
    EXPECT_FALSE(editor->deferred().anyPending());
    EXPECT_EQ(server.line().frameCount(), 0u);
}

TEST_F(EditorOverPty, DraggingAcrossTheWholeRangeSendsAtMostOneFramePerTick)
{
    session->store.params.inputGain[1] = 200;
    open(0, 0, DeferredSend::FinishInTime);
    QSlider* fader = findNamed<QSlider>(editor.get(), "Input 1 gain");
    fader->setFocus(Qt::MouseFocusReason);
    fader->setValue(200);
    int changes = 0;
    QObject::connect(fader, &QSlider::valueChanged, [&] { ++changes; });
    // 460 one-step moves over about 1.4 s, as a slow drag from the bottom to the top.
    for (int step = 0; step < 460; ++step) {
        QTest::keyClick(fader, Qt::Key_Up);
        if (step % 10 == 9)
            waitMs(30);
    }
    EXPECT_EQ(changes, 460);
    EXPECT_EQ(session->store.params.inputGain[1], 660);
    waitMs(1600); // the last two ticks and a possible repeat

    const auto frames = framesWith(21);
    ASSERT_GE(frames.size(), 2u);
    const std::int64_t span = frames.back().startNs() - frames.front().startNs();
    const std::size_t ticks = std::size_t(span / (300 * kMs)) + 1;
    const std::size_t repeats = std::size_t(span / (1000 * kMs)) + 1;
    EXPECT_LE(frames.size(), ticks + repeats) << "span " << span / kMs << " ms";
    // Every frame is a flush of the stored value at that moment, never an intermediate burst.
    for (std::size_t k = 1; k < frames.size(); ++k) {
        const double gapMs = double(frames[k].startNs() - frames[k - 1].startNs()) / kMs;
        EXPECT_GT(gapMs, 40.0) << k;
    }
    EXPECT_EQ(frames.back().payload.toHex(), "0294");
    EXPECT_EQ(unitInputGain(1), 660);
}
