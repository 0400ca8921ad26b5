// The XOVER page, the PEQ band dialog and the crossover dialog against the virtual unit over a
// pseudo-terminal: the real paced writer, the editor's real flush timers, frames read back from
// the unit's log, and the unit's running settings afterwards.
#include "editor/widgets/ChannelStrip.h"
#include "editor/widgets/Form34.h"
#include "editor/widgets/Form36.h"
#include "editor/widgets/Form37.h"
#include "editor/widgets/ValueBox.h"
#include "editor/widgets/XoverEditorParts.h"
#include "editor/widgets/XoverPage.h"
#include "link/PacedWriter.h"
#include "link/Session.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"
#include "platform/MonotonicClock.h"
#include "platform/QtEventPump.h"
#include "sim/PtyServer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct XoverOverPty : ::testing::Test {
    QTemporaryDir dir;
    PtyServer server;
    QtEventPump pump;
    std::unique_ptr<Session> session;
    PacedWriter* writer = nullptr;
    std::unique_ptr<Form34> editor;
    XoverEditorParts* parts = nullptr;
    XoverPage* page = nullptr;

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
        session->link.LinkConnected = kSet;
        session->command.Address = 1;
        SelectDeviceModel(session->store, 11);
        editor = std::make_unique<Form34>(*session);
        parts = editor->findChild<XoverEditorParts*>();
        ASSERT_NE(parts, nullptr);
        page = parts->page();
    }

    void TearDown() override
    {
        editor.reset();
        writer->drain(2000);
    }

    // The editor on the XOVER page for `output`, shown and active; the unit's log starts empty.
    void openXover(int output)
    {
        editor->openAt(2, output - 1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        settle();
    }

    // Waits until everything handed over is on the line and answered, then empties the log.
    void settle()
    {
        for (int i = 0; i < 200 && session->link.PendingFrames.load() > 0; ++i)
            pump.wait(5);
        pump.wait(60);
        server.line().clearLog();
    }

    // Lets the editor run (timers, line) for `ms`, then returns the valid frames of `command`.
    std::vector<SimFrame> runFor(int ms, int command)
    {
        pump.wait(ms);
        std::vector<SimFrame> out;
        for (const SimFrame& f : server.line().frames())
            if (f.valid && f.command == command)
                out.push_back(f);
        return out;
    }

    // The editor's 450 ms PEQ flush timer.
    QTimer* peqFlushTimer()
    {
        for (QTimer* t : editor->deferred().findChildren<QTimer*>())
            if (t->interval() == 450)
                return t;
        return nullptr;
    }

    // Finish_IN_TIME runs on the XOVER page once the one-second tick has applied the page rule.
    void waitForGainFlush() { pump.wait(1100); settle(); }

    MatrixParameters unitSettings()
    {
        MatrixParameters p;
        server.withLine([&](SimLine& line) { ApplyMatrixImage(line.unit(1)->running(), p); });
        return p;
    }

    template <class D>
    void showDialog(D* dialog)
    {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        settle();
    }

    static void typeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

} // namespace

TEST_F(XoverOverPty, BypassOfBandTwoGoesOutOnceWithTheNextPeqFlush)
{
    openXover(3);
    QTimer* flush = peqFlushTimer();
    ASSERT_NE(flush, nullptr);
    ASSERT_TRUE(flush->isActive());
    // Ticks of the flush that have ended since the click (this handler runs after the editor's).
    int ticksEnded = 0;
    int ticksEndedAtSend = -1;
    bool clickReturned = false;
    bool sentDuringClick = false;
    std::int64_t sentNs = 0;
    QObject::connect(flush, &QTimer::timeout, [&] { ++ticksEnded; });
    QObject::connect(session.get(), &Session::frameSubmitted, [&](const QByteArray& frame) {
        if (ticksEndedAtSend < 0 && frame.size() > 1 && std::uint8_t(frame[1]) == 27) {
            ticksEndedAtSend = ticksEnded;
            sentDuringClick = !clickReturned;
            sentNs = MonotonicClock::nowNs();
        }
    });
    const std::int64_t clickNs = MonotonicClock::nowNs();
    QTest::mouseClick(page->bypassSwitch(2), Qt::LeftButton); // lit -> dark: the band in circuit
    clickReturned = true;
    const auto frames = runFor(1500, 27);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].selector, 3);
    EXPECT_EQ(frames[0].channel, 3);
    EXPECT_EQ(frames[0].payload, QByteArray::fromHex("00ee025814") + QByteArray(1, char(0x20)));
    // Not at once, but by the first tick of the 450 ms flush after the click: within one period.
    EXPECT_FALSE(sentDuringClick);
    EXPECT_EQ(ticksEndedAtSend, 0);
    RecordProperty("click_to_send_ms", std::to_string((sentNs - clickNs) / 1000000));
    EXPECT_EQ(unitSettings().peq[3][2].flags, 0x00);
}

TEST_F(XoverOverPty, TypedGainIsSentOnceAtOnce)
{
    session->store.params.outputGain[1] = 0x0258;
    openXover(1);
    waitForGainFlush();
    ValueBox* box = page->outputStrip()->valueBox();
    auto type = [&](const char* text) {
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
        QTest::keyClick(box, Qt::Key_Return);
    };
    type("3");
    auto frames = runFor(800, 22); // more than two Finish_IN_TIME periods
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, QByteArray::fromHex("0276"));
    EXPECT_EQ(frames[0].channel, 1);

    // Muted: the same level with the mute bit.
    QTest::mouseClick(page->outputStrip()->muteSwitch(), Qt::LeftButton);
    runFor(800, 22);
    settle();
    type("3");
    frames = runFor(800, 22);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, QByteArray::fromHex("8276"));
    EXPECT_EQ(unitSettings().outputGain[1], 0x8276);
}

TEST_F(XoverOverPty, PolarityClickIsSentThreeTimes)
{
    openXover(2);
    waitForGainFlush();
    QTest::mouseClick(page->outputStrip()->polarityBox(), Qt::LeftButton);
    const auto frames = runFor(1200, 23);
    ASSERT_EQ(frames.size(), 3u);
    for (const SimFrame& f : frames) {
        EXPECT_EQ(f.payload, QByteArray::fromHex("80"));
        EXPECT_EQ(f.channel, 2);
    }
    EXPECT_EQ(unitSettings().polarity[2], 0x80);
}

TEST_F(XoverOverPty, HishelfStartsAtOneKilohertzAndIsSentAtOnce)
{
    session->store.params.peq[1][1].frequency = 50;
    openXover(1);
    QTest::mouseClick(page->modePanel(1), Qt::LeftButton);
    Form36* dialog = parts->peqBandDialog();
    showDialog(dialog);
    QComboBox* list = dialog->typeList();
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Down); // "PEQ" -> "HISHELF"
    EXPECT_EQ(dialog->frequencySlider()->value(), 203);
    EXPECT_EQ(dialog->frequencySlider()->minimum(), 203);
    EXPECT_EQ(dialog->frequencySlider()->maximum(), 359);
    const auto frames = runFor(1000, 27);
    ASSERT_EQ(frames.size(), 1u); // sent at once; nothing left for the flush
    EXPECT_EQ(frames[0].payload, QByteArray::fromHex("00ee025814") + QByteArray(1, char(0x80 + 0x10 + 1)));
    EXPECT_EQ(unitSettings().peq[1][1].type, 1);
    EXPECT_EQ(unitSettings().peq[1][1].frequency, 203);
    dialog->close();
}

TEST_F(XoverOverPty, SetZeroDbSendsAtOnceAndEnablesTheTypeList)
{
    session->store.params.peq[1][2].gain = 610;
    openXover(1);
    QTest::mouseClick(page->gainPanel(2), Qt::LeftButton);
    Form36* dialog = parts->peqBandDialog();
    showDialog(dialog);
    ASSERT_FALSE(dialog->typeList()->isEnabled());
    QTest::mouseClick(dialog->zeroGainButton(), Qt::LeftButton);
    const std::int64_t pressed = MonotonicClock::nowMs();
    while (!dialog->typeList()->isEnabled() && MonotonicClock::nowMs() - pressed < 1000)
        pump.wait(5);
    EXPECT_TRUE(dialog->typeList()->isEnabled());
    RecordProperty("enabled_after_ms", std::to_string(MonotonicClock::nowMs() - pressed));
    // Enabled by the next tick of the 400 ms layout timer.
    EXPECT_LE(MonotonicClock::nowMs() - pressed, Form36::kLayoutMs + 100);
    const auto frames = runFor(600, 27);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload.mid(2, 2), QByteArray::fromHex("0258"));
    EXPECT_EQ(unitSettings().peq[1][2].gain, 600);
    dialog->close();
}

TEST_F(XoverOverPty, TypedQSelectsIndex21AndTheFlushSendsIt)
{
    openXover(1);
    QTest::mouseClick(page->qPanel(3), Qt::LeftButton);
    Form36* dialog = parts->peqBandDialog();
    showDialog(dialog);
    typeInto(dialog->qBox(), QStringLiteral("3.3"));
    EXPECT_EQ(dialog->qSlider()->value(), 21);
    const auto frames = runFor(1200, 27);
    ASSERT_EQ(frames.size(), 2u); // marked: the two flush ticks while the dialog is open
    for (const SimFrame& f : frames)
        EXPECT_EQ(std::uint8_t(f.payload[4]), 21);
    EXPECT_EQ(unitSettings().peq[1][3].q, 21);
    dialog->close();
}

TEST_F(XoverOverPty, TypedTwoKilohertzInTheCrossoverDialog)
{
    session->store.params.crossover[1] = CrossoverSettings{394, 0, 19, 0};
    openXover(1);
    QTest::mouseClick(page->lowPassFrequencyPanel(), Qt::LeftButton);
    Form37* dialog = parts->crossoverDialog();
    showDialog(dialog);
    typeInto(dialog->frequencyBox(), QStringLiteral("2k"));
    EXPECT_EQ(dialog->lowPassSlider()->value(), 274);
    const auto frames = runFor(1200, 26);
    ASSERT_EQ(frames.size(), 2u);
    for (const SimFrame& f : frames)
        EXPECT_EQ(f.payload, QByteArray::fromHex("140112")); // 12dB Butterworth + 1, index 274
    EXPECT_EQ(unitSettings().crossover[1].lowPassFrequency, 274);
    EXPECT_EQ(unitSettings().crossover[1].lowPassType, 19);
    dialog->close();
    // Closing reloads the page.
    EXPECT_EQ(page->lowPassFrequencyPanel()->text(), QStringLiteral("2.0KHz"));
}
