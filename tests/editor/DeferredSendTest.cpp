// Counters, flush ticks, page rule and resend of the deferred send, on the virtual line with the
// ticks driven by the test.
#include "EditorLineFixture.h"

#include "editor/LoadWithoutSending.h"
#include "editor/MatrixEdits.h"

#include <set>
#include <tuple>

namespace {

using Key = std::tuple<int, int, int>; // command, selector, channel

std::vector<Key> keysOf(const std::vector<SimFrame>& frames)
{
    std::vector<Key> keys;
    for (const auto& f : frames)
        keys.emplace_back(f.command, f.selector, f.channel);
    return keys;
}

using DeferredSendTest = EditorLineFixture;

} // namespace

TEST_F(DeferredSendTest, AMarkIsSentOnTwoTicksWithTheValueOfEachTick)
{
    MatrixEdits edits(*session, *deferred);
    edits.inputGain(3, 0x0258);
    EXPECT_EQ(deferred->counter(3), 2);

    deferred->flushInputs();
    EXPECT_EQ(deferred->counter(3), 1);
    auto first = drain();
    // Changed in MatrixParameters without a new mark: the second tick sends what is stored then.
    session->store.params.inputGain[3] = 0x8200;
    deferred->flushInputs();
    EXPECT_EQ(deferred->counter(3), 0);
    auto second = drain();
    deferred->flushInputs();
    EXPECT_TRUE(drain().empty());

    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(keysOf(first).front(), Key(21, 3, 3));
    EXPECT_EQ(first.front().payload.toHex(), "0258");
    EXPECT_EQ(second.front().payload.toHex(), "8200");
}

TEST_F(DeferredSendTest, MarkingAgainRestartsTheCount)
{
    deferred->mark(DeferredSend::delayCounter(4));
    deferred->flushDelay();
    deferred->mark(DeferredSend::delayCounter(4));
    EXPECT_EQ(deferred->counter(DeferredSend::delayCounter(4)), 2);
    deferred->flushDelay();
    deferred->flushDelay();
    deferred->flushDelay();
    EXPECT_EQ(drain().size(), 3u);
}

TEST_F(DeferredSendTest, InputTimerVisitsInputsThenOutputGainsThenPolarity)
{
    MatrixEdits edits(*session, *deferred);
    edits.polarity(2, 0x80);
    edits.outputGain(5, 0x0276);
    edits.inputGain(16, 0x0258);
    edits.outputGain(1, 0x8258);
    edits.inputGain(1, 0x0300);
    deferred->flushInputs();
    const auto keys = keysOf(drain());
    const std::vector<Key> expected{{21, 1, 1}, {21, 16, 16}, {22, 1, 1}, {22, 5, 5}, {23, 2, 2}};
    EXPECT_EQ(keys, expected);
}

TEST_F(DeferredSendTest, CrosspointsGoToTheShownOutputWithTheInputAsSelector)
{
    MatrixEdits edits(*session, *deferred);
    deferred->selection().matrixOutput = 3;
    edits.crosspoint(3, 5, 0x8250);
    edits.crosspoint(3, 2, 0x0258, false); // stored but not marked
    EXPECT_EQ(deferred->counter(DeferredSend::crosspointCounter(2)), 0);
    deferred->flushMatrix();
    const auto frames = drain();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(keysOf(frames).front(), Key(32, 5, 3));
    EXPECT_EQ(frames.front().payload.toHex(), "8250");
    EXPECT_EQ(session->store.params.crosspoint[3][2], 0x0258);
}

TEST_F(DeferredSendTest, DynamicsGoOutInFlushOrderToTheCompLimitChannel)
{
    MatrixEdits edits(*session, *deferred);
    deferred->selection().dynamicsChannel = 6;
    edits.dynamicsByte(6, DynamicsBlock::GateThreshold, 5);
    edits.dynamicsByte(6, DynamicsBlock::LimiterHold, 3);
    edits.dynamicsByte(6, DynamicsBlock::CompressorSwitch, 0x80);
    edits.dynamicsByte(6, DynamicsBlock::LimiterAttack, 17);
    edits.dynamicsByte(6, DynamicsBlock::LimiterSwitch, 0x00);
    deferred->flushCompLimit();
    const auto frames = drain();
    std::vector<std::pair<int, std::string>> got;
    for (const auto& f : frames) {
        EXPECT_EQ(f.channel, 6);
        EXPECT_EQ(f.selector, 6);
        got.emplace_back(f.command, f.payload.toHex().toStdString());
    }
    const std::vector<std::pair<int, std::string>> expected{{28, "00"}, {34, "80"}, {29, "11"}, {30, "03"}, {42, "05"}};
    EXPECT_EQ(got, expected);
}

TEST_F(DeferredSendTest, EveryDynamicsFieldHasItsCounterAndCode)
{
    // Counter 113..126 -> command code, as the unit reads them.
    const std::pair<int, int> fieldCode[14] = {
        {DynamicsBlock::LimiterSwitch, 28},     {DynamicsBlock::LimiterAttack, 29},
        {DynamicsBlock::LimiterRelease, 31},    {DynamicsBlock::LimiterThreshold, 33},
        {DynamicsBlock::LimiterHold, 30},       {DynamicsBlock::CompressorSwitch, 34},
        {DynamicsBlock::CompressorAttack, 35},  {DynamicsBlock::CompressorRelease, 36},
        {DynamicsBlock::CompressorThreshold, 37}, {DynamicsBlock::CompressorRatio, 38},
        {DynamicsBlock::CompressorBoost, 39},   {DynamicsBlock::GateAttack, 40},
        {DynamicsBlock::GateRelease, 41},       {DynamicsBlock::GateThreshold, 42}};
    for (int k = 0; k < 14; ++k) {
        const int counter = DeferredSend::dynamicsCounter(fieldCode[k].first);
        EXPECT_EQ(counter, 113 + k);
        EXPECT_EQ(DeferredSend::dynamicsCodeOf(counter), fieldCode[k].second);
        EXPECT_EQ(DeferredSend::dynamicsFieldOf(counter), fieldCode[k].first);
    }
}

TEST_F(DeferredSendTest, PeqTimerSendsDialogCountersAndDropsThoseOfClosedDialogs)
{
    EditorSelection& sel = deferred->selection();
    sel.peqOutput = 2;
    sel.crossoverDialogOnScreen = true;
    sel.peqBandDialogOnScreen = false;
    MatrixEdits edits(*session, *deferred);
    edits.highPass(2, 100, 24);
    PeqBand b = session->store.params.peq[2][4];
    b.gain = 610;
    edits.peqBand(2, 4, b);
    EXPECT_EQ(sel.currentBand, 4);

    deferred->flushPeq();
    auto frames = drain();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(keysOf(frames)[0], Key(25, 2, 2));
    EXPECT_EQ(frames[0].payload.toHex(), "190064");
    EXPECT_EQ(keysOf(frames)[1], Key(27, 2, 2));
    EXPECT_EQ(frames[1].payload.at(5) & 0x70, 0x40); // band 4
    // The band dialog is closed: its band went once and its counter is gone; the open crossover
    // dialog's high-pass goes a second time.
    EXPECT_EQ(deferred->peqBandCounter(), 0);
    EXPECT_EQ(deferred->highPassCounter(), 1);
    deferred->flushPeq();
    EXPECT_EQ(keysOf(drain()), std::vector<Key>{Key(25, 2, 2)});
}

TEST_F(DeferredSendTest, ClearDirtyCountersLeavesTheDialogCounters)
{
    for (int i = 1; i <= DeferredSend::kCounters; ++i)
        deferred->mark(i);
    deferred->markPeqBand();
    deferred->markLowPass();
    deferred->ClearDirtyCounters();
    EXPECT_FALSE(deferred->anyPending());
    EXPECT_EQ(deferred->peqBandCounter(), 2);
    EXPECT_EQ(deferred->lowPassCounter(), 2);
    deferred->mark(0);
    deferred->mark(127);
    EXPECT_FALSE(deferred->anyPending());
}

TEST_F(DeferredSendTest, FlushesSkipTheUnusedCounters)
{
    deferred->mark(49);
    deferred->mark(81);
    deferred->flushInputs();
    deferred->flushMatrix();
    deferred->flushDelay();
    deferred->flushCompLimit();
    EXPECT_TRUE(drain().empty());
}

struct PageRuleCase {
    int page;
    bool in, matrix, delay, peq, comp;
};

class PageRuleTest : public EditorLineFixture, public ::testing::WithParamInterface<PageRuleCase> {};

TEST_P(PageRuleTest, SystemTickSwitchesTheFlushTimersByPage)
{
    const PageRuleCase& c = GetParam();
    session->editorOnScreen = true;
    deferred->selection().pageShown = c.page;
    deferred->systemTick();
    EXPECT_EQ(deferred->isOn(DeferredSend::FinishInTime), c.in);
    EXPECT_EQ(deferred->isOn(DeferredSend::FinishMatrixTime), c.matrix);
    EXPECT_EQ(deferred->isOn(DeferredSend::FinishDelayTime), c.delay);
    EXPECT_EQ(deferred->isOn(DeferredSend::FinishPeqTime), c.peq);
    EXPECT_EQ(deferred->isOn(DeferredSend::FinishCompLimitTime), c.comp);

    session->editorOnScreen = false;
    deferred->systemTick();
    for (int t = 0; t < DeferredSend::kFlushTimers; ++t)
        EXPECT_FALSE(deferred->isOn(DeferredSend::FlushTimer(t))) << t;
}

INSTANTIATE_TEST_SUITE_P(Pages, PageRuleTest,
                         ::testing::Values(PageRuleCase{0, true, false, false, false, false},
                                           PageRuleCase{1, false, true, false, false, false},
                                           PageRuleCase{2, true, false, false, true, false},
                                           PageRuleCase{3, false, false, true, false, false},
                                           PageRuleCase{4, true, false, false, false, false},
                                           PageRuleCase{5, false, false, false, false, true}));

TEST_F(DeferredSendTest, AsCreatedOnlyThePeqTimerRuns)
{
    EXPECT_TRUE(deferred->isOn(DeferredSend::FinishPeqTime));
    EXPECT_FALSE(deferred->isOn(DeferredSend::FinishInTime));
    EXPECT_FALSE(deferred->isOn(DeferredSend::FinishMatrixTime));
    EXPECT_FALSE(deferred->isOn(DeferredSend::FinishDelayTime));
    EXPECT_FALSE(deferred->isOn(DeferredSend::FinishCompLimitTime));
}

TEST_F(DeferredSendTest, SystemTickRepeatsTheLastCommandUntilAReplyArrives)
{
    SimFaults silent;
    silent.silent = true;
    line.setFaults(silent);
    session->editorOnScreen = true;
    session->command.Channel = 2;
    deferred->commands().SendOutputGain(0x0276);
    EXPECT_EQ(session->reply.AwaitingReply, 100);
    EXPECT_EQ(drain().size(), 1u);
    // One repeat per tick (a second apart; drain() lets the repeat finish on the line).
    for (int tick = 0; tick < 3; ++tick) {
        deferred->systemTick();
        const auto repeats = drain();
        ASSERT_EQ(repeats.size(), 1u) << tick;
        EXPECT_EQ(keysOf(repeats).front(), Key(22, 2, 2));
        EXPECT_EQ(repeats.front().payload.toHex(), "0276");
    }

    line.setFaults(SimFaults{});
    deferred->systemTick(); // answered this time
    EXPECT_EQ(drain().size(), 1u);
    EXPECT_EQ(session->reply.ReplySeen, 100);
    deferred->systemTick();
    EXPECT_TRUE(drain().empty());
}

TEST_F(DeferredSendTest, NoRepeatWhileTheEditorWasHiddenOrTheFrameIsStillOnTheLine)
{
    SimFaults silent;
    silent.silent = true;
    line.setFaults(silent);
    session->editorOnScreen = false;
    session->command.Channel = 1;
    deferred->commands().SendInputGain(0x0258);
    EXPECT_EQ(session->reply.AwaitingReply, 0);
    deferred->systemTick();
    EXPECT_EQ(drain().size(), 1u);

    session->editorOnScreen = true;
    deferred->commands().SendInputGain(0x0259);
    // Still being written: not yet unanswered.
    deferred->systemTick();
    EXPECT_EQ(drain().size(), 1u);
    deferred->systemTick();
    EXPECT_EQ(drain().size(), 1u);
}

TEST_F(DeferredSendTest, ResetReplyWatchStopsTheRepeat)
{
    SimFaults silent;
    silent.silent = true;
    line.setFaults(silent);
    session->editorOnScreen = true;
    deferred->commands().SendPolarity(0);
    drain();
    deferred->resetReplyWatch();
    deferred->systemTick();
    EXPECT_TRUE(drain().empty());
}

TEST_F(DeferredSendTest, SendPendingNowSendsEachMarkOnceForItsChannel)
{
    MatrixEdits edits(*session, *deferred);
    deferred->selection().matrixOutput = 7;
    edits.crosspoint(7, 1, 0x0200);
    edits.delay(9, 13650);
    deferred->sendPendingNow();
    EXPECT_FALSE(deferred->anyPending());
    deferred->selection().matrixOutput = 8;
    deferred->flushMatrix();
    deferred->flushDelay();
    const auto keys = keysOf(drain());
    EXPECT_EQ(keys, (std::vector<Key>{{32, 1, 7}, {24, 9, 9}}));
}

TEST_F(DeferredSendTest, ALoadSendsNothingLeavesNoMarkAndRestoresTheLinkState)
{
    MatrixEdits edits(*session, *deferred);
    edits.outputGain(3, 0x0270); // an edit made before the load
    {
        LoadWithoutSending scope(*session, *deferred);
        EXPECT_EQ(session->link.LinkConnected, 0);
        EXPECT_EQ(session->link.SendEnabled.load(), 1); // frames already queued still go out
        edits.inputGain(2, 0x0258);                     // what a load's change event would do
        deferred->flushInputs();
    }
    EXPECT_EQ(session->link.LinkConnected, 100);
    EXPECT_FALSE(deferred->anyPending());
    // Only the edit made before the load reached the unit, once, for its own output.
    EXPECT_EQ(keysOf(drain()), std::vector<Key>{Key(22, 3, 3)});

    session->link.LinkConnected = 0;
    { LoadWithoutSending scope(*session, *deferred); }
    EXPECT_EQ(session->link.LinkConnected, 0); // never "restored" to connected
}

TEST_F(DeferredSendTest, ATickArrivingDuringTheCourtesyWaitIsSkipped)
{
    for (int i = 1; i <= 4; ++i)
        deferred->mark(DeferredSend::inputGainCounter(i));
    // Each SendCommand after the first waits 10 ms with frames pending; a tick of the same timer
    // fired inside that wait must not run a second flush through the same counters.
    bool nested = false;
    const int id = pump.addTickHandler([&](std::int64_t) {
        if (!nested && session->link.PendingFrames.load() > 0) {
            nested = true;
            deferred->flushInputs();
        }
    });
    deferred->flushInputs();
    pump.removeTickHandler(id);
    EXPECT_TRUE(nested);
    EXPECT_EQ(drain().size(), 4u);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(deferred->counter(i), 1);
}
