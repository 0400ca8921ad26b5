// The Comp/Limit page with its real flush timers and the real paced writer, against the virtual
// unit over a pseudo-terminal: what reaches the unit, read back from the unit's frame log and
// from its running settings.
#include "editor/DeferredSend.h"
#include "editor/widgets/ArrowPair.h"
#include "editor/widgets/CompLimitPage.h"
#include "editor/widgets/DelayPage.h"
#include "editor/widgets/DynamicsValueBox.h"
#include "editor/widgets/Form34.h"
#include "editor/widgets/ValueBox.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"
#include "platform/QtEventPump.h"
#include "sim/PtyServer.h"
#include "sim/UnitImage.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using F = DynamicsBlock::Field;

bool isDynamicsCommand(int c) { return (c >= 28 && c <= 31) || (c >= 33 && c <= 42); }

struct CompLimitOverPty : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;
    QtEventPump pump;
    std::unique_ptr<Session> session;
    PacedWriter* writer = nullptr;
    std::unique_ptr<Form34> editor;
    CompLimitPage* page = nullptr;

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
        page = editor->findChild<CompLimitPage*>();
        ASSERT_NE(page, nullptr);
    }

    void TearDown() override
    {
        editor.reset();
        if (writer)
            writer->drain(2000);
    }

    // The editor on the Comp/Limit page at `tab`, active, with the page's flush timer running.
    void open(int tab)
    {
        editor->openAt(5, tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        ASSERT_TRUE(waitUntil([this] { return editor->deferred().isOn(DeferredSend::FinishCompLimitTime); }, 2500));
        server.line().clearLog();
    }

    bool waitUntil(const std::function<bool()>& done, int ms)
    {
        for (int waited = 0; waited < ms; waited += 10) {
            if (done())
                return true;
            pump.wait(10);
        }
        return done();
    }

    std::vector<SimFrame> framesOf(const std::function<bool(int)>& command)
    {
        std::vector<SimFrame> out;
        for (const SimFrame& f : server.line().frames())
            if (f.valid && command(f.command))
                out.push_back(f);
        return out;
    }
    std::vector<SimFrame> dynamicsFrames() { return framesOf(isDynamicsCommand); }

    // A byte of output `output`'s dynamics in the unit's running settings, by command code.
    int unitDynamics(int output, int command)
    {
        int value = -1;
        server.withLine([&](SimLine& line) {
            value = line.unit(1)->running()[std::size_t(UnitImage::outputBlock(output) + UnitImage::dynamicsOffset(std::uint8_t(command)))];
        });
        return value;
    }

    DynamicsBlock& block(int channel) { return session->store.params.dynamics[std::size_t(channel)]; }

    void typeInto(QWidget* w, const QString& text)
    {
        w->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(w->hasFocus());
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w))
            spin->selectAll();
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->selectAll();
        QTest::keyClicks(w, text);
        QTest::keyClick(w, Qt::Key_Return);
    }
    void clickUp(int field) { QTest::mouseClick(page->arrows(field)->upButton(), Qt::LeftButton); }
    void clickDown(int field) { QTest::mouseClick(page->arrows(field)->downButton(), Qt::LeftButton); }
};

// The one-second resend repeats the last frame when its answer has not been parsed yet; such a
// repeat is the same frame straight after itself. Flushes never send one byte twice in a row
// when more than one byte is marked, so adjacent copies are folded for the count.
std::vector<SimFrame> foldRepeats(const std::vector<SimFrame>& frames)
{
    std::vector<SimFrame> out;
    for (const SimFrame& f : frames)
        if (out.empty() || out.back().wire != f.wire)
            out.push_back(f);
    return out;
}

TEST_F(CompLimitOverPty, EveryChangeGoesToTheShownChannelInVisitingOrderTwice)
{
    open(2); // CH3
    editor->revealHoldRow();

    // Changed in the reverse of the visiting order, all before the next tick.
    QComboBox* gate = page->list(F::GateThreshold);
    gate->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(gate, Qt::Key_Down);                         // 42: 3
    clickUp(F::GateRelease);                                     // 41: 101
    typeInto(page->valueBox(F::GateAttack), "5");                // 40: 78
    clickUp(F::CompressorBoost);                                 // 39: 1
    typeInto(page->valueBox(F::CompressorRatio), "32");          // 38: 31
    typeInto(page->thresholdText(F::CompressorThreshold), "-23"); // 37: 2
    typeInto(page->valueBox(F::CompressorRelease), "150");       // 36: 63
    clickDown(F::CompressorAttack);                              // 35: 59
    clickUp(F::LimiterHold);                                     // 30: 1
    typeInto(page->thresholdText(F::LimiterThreshold), "-20");   // 33: 67
    clickUp(F::LimiterRelease);                                  // 31: 61
    typeInto(page->valueBox(F::LimiterAttack), "45");            // 29: 38
    QTest::mouseClick(page->compressorSwitch(), Qt::LeftButton); // 34: 0x80 (was lit at 0x00)
    QTest::mouseClick(page->limiterSwitch(), Qt::LeftButton);    // 28: 0x80

    const std::vector<std::pair<int, int>> expected{{28, 0x80}, {34, 0x80}, {29, 38}, {31, 61}, {33, 67},
                                                    {30, 1},    {35, 59},   {36, 63}, {37, 2},  {38, 31},
                                                    {39, 1},    {40, 78},   {41, 101}, {42, 3}};
    ASSERT_TRUE(waitUntil([&] { return foldRepeats(dynamicsFrames()).size() >= 2 * expected.size(); }, 9000))
        << foldRepeats(dynamicsFrames()).size() << " frames";
    pump.wait(700); // two more ticks: nothing further
    const auto frames = foldRepeats(dynamicsFrames());
    ASSERT_EQ(frames.size(), 2 * expected.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const auto [command, value] = expected[i % expected.size()];
        EXPECT_EQ(frames[i].command, command) << i;
        EXPECT_EQ(frames[i].address, 1) << i;
        EXPECT_EQ(frames[i].channel, 3) << i;
        EXPECT_EQ(frames[i].selector, 3) << i;
        ASSERT_EQ(frames[i].payload.size(), 1) << i;
        EXPECT_EQ(std::uint8_t(frames[i].payload[0]), value) << i;
    }
    for (const auto& [command, value] : expected) {
        EXPECT_EQ(unitDynamics(3, command), value) << command;
        EXPECT_EQ(unitDynamics(2, command), unitDynamics(4, command)) << "neighbours untouched, " << command;
    }
}

TEST_F(CompLimitOverPty, DynamicsThenDelayWithinASecondEachGoesToItsOwnChannel)
{
    open(2); // CH3
    const int attackOn7Before = unitDynamics(7, 35);
    clickUp(F::CompressorAttack); // 61 on CH3
    QElapsedTimer sinceChange;
    sinceChange.start();
    ASSERT_TRUE(waitUntil([this] { return !framesOf([](int c) { return c == 35; }).empty(); }, 1000));

    // The next tick of the Comp/Limit timer still has the second copy to send while the Delay
    // page's edit has pointed the command record at output 7.
    editor->pages()->setCurrentIndex(3);
    typeInto(editor->delayPage()->valueBox(7), "100");
    EXPECT_LT(sinceChange.elapsed(), 1000);
    EXPECT_EQ(session->command.Channel, 7);

    ASSERT_TRUE(waitUntil([this] { return framesOf([](int c) { return c == 24; }).size() >= 2; }, 4000));
    pump.wait(500);
    const auto dynamics = framesOf([](int c) { return c == 35; });
    ASSERT_FALSE(dynamics.empty());
    EXPECT_LE(foldRepeats(dynamics).size(), 2u);
    for (const SimFrame& f : dynamics) {
        EXPECT_EQ(f.channel, 3);
        EXPECT_EQ(f.selector, 3);
        EXPECT_EQ(std::uint8_t(f.payload[0]), 61);
    }
    for (const SimFrame& f : framesOf([](int) { return true; }))
        if (f.channel == 7) {
            EXPECT_EQ(f.command, 24) << "a frame other than the delay went to output 7";
        }
    const auto delays = framesOf([](int c) { return c == 24; });
    for (const SimFrame& f : delays) {
        EXPECT_EQ(f.channel, 7);
        EXPECT_EQ(f.payload, QByteArray::fromHex("0003e8"));
    }
    EXPECT_EQ(unitDynamics(3, 35), 61);
    EXPECT_EQ(unitDynamics(7, 35), attackOn7Before);
    int delay3 = -1, delay7 = -1;
    server.withLine([&](SimLine& line) {
        delay3 = UnitImage::word(line.unit(1)->running(), UnitImage::outputBlock(3) + UnitImage::kDelay);
        delay7 = UnitImage::word(line.unit(1)->running(), UnitImage::outputBlock(7) + UnitImage::kDelay);
    });
    EXPECT_EQ(delay3, 0);
    EXPECT_EQ(delay7, 1000);
}

TEST_F(CompLimitOverPty, LoadingAChannelSendsNothingAndLeavesNoMarks)
{
    block(5).bytes = {0x80, 0x00, 10, 100, 5, 9, 2, 60, 3, 33, 6, 127, 0, 28};
    open(2);
    QTabBar* tabs = editor->channelTabs(5);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(4).center());
    ASSERT_EQ(editor->shownChannel(5), 5);
    EXPECT_EQ(page->valueBox(F::CompressorAttack)->text(), QStringLiteral("0.25ms"));
    for (int c = 113; c <= 126; ++c)
        EXPECT_EQ(editor->deferred().counter(c), 0) << c;
    pump.wait(800); // at least two ticks of the page's timer
    EXPECT_EQ(server.line().frameCount(), 0u);
    for (int c = 113; c <= 126; ++c)
        EXPECT_EQ(editor->deferred().counter(c), 0) << c;
    EXPECT_EQ(session->link.LinkConnected, 100);

    // The line is live: an edit after the load goes out, to the loaded channel.
    clickUp(F::GateRelease);
    ASSERT_TRUE(waitUntil([this] { return framesOf([](int c) { return c == 41; }).size() >= 2; }, 2000));
    for (const SimFrame& f : framesOf([](int c) { return c == 41; })) {
        EXPECT_EQ(f.channel, 5);
        EXPECT_EQ(std::uint8_t(f.payload[0]), 1);
    }
}

TEST_F(CompLimitOverPty, HoldByteNeverChangesWhileItsRowIsHidden)
{
    block(3)[F::LimiterHold] = 4;
    server.withLine([](SimLine& line) {
        line.unit(1)->running()[std::size_t(UnitImage::outputBlock(3) + UnitImage::kLimiterHold)] = 4;
    });
    open(2);
    ASSERT_FALSE(page->holdRowShown());
    page->arrows(F::LimiterHold)->upButton()->click();
    page->arrows(F::LimiterHold)->upButton()->click();
    emit page->list(F::LimiterHold)->activated(8);
    clickUp(F::LimiterRelease);
    ASSERT_TRUE(waitUntil([this] { return framesOf([](int c) { return c == 31; }).size() >= 2; }, 2000));
    pump.wait(700);
    EXPECT_TRUE(framesOf([](int c) { return c == 30; }).empty());
    EXPECT_EQ(block(3)[F::LimiterHold], 4);
    EXPECT_EQ(unitDynamics(3, 30), 4);

    QTest::keyClick(editor.get(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    ASSERT_TRUE(page->holdRowShown());
    clickUp(F::LimiterHold);
    ASSERT_TRUE(waitUntil([this] { return framesOf([](int c) { return c == 30; }).size() >= 2; }, 2000));
    for (const SimFrame& f : framesOf([](int c) { return c == 30; })) {
        EXPECT_EQ(f.channel, 3);
        EXPECT_EQ(std::uint8_t(f.payload[0]), 5);
    }
    EXPECT_EQ(unitDynamics(3, 30), 5);
}

} // namespace
