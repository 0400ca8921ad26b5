#include "editor/DeferredSend.h"

#include "link/Session.h"

#include <QTimer>
#include <algorithm>

namespace {
struct DynamicsRoute {
    int counter;
    int field;
    std::uint8_t code;
};
// In flush order: limiter switch first, then the compressor switch, then the rest by counter.
constexpr std::array<DynamicsRoute, 14> kDynamicsRoutes{{
    {113, DynamicsBlock::LimiterSwitch, 28},
    {118, DynamicsBlock::CompressorSwitch, 34},
    {114, DynamicsBlock::LimiterAttack, 29},
    {115, DynamicsBlock::LimiterRelease, 31},
    {116, DynamicsBlock::LimiterThreshold, 33},
    {117, DynamicsBlock::LimiterHold, 30},
    {119, DynamicsBlock::CompressorAttack, 35},
    {120, DynamicsBlock::CompressorRelease, 36},
    {121, DynamicsBlock::CompressorThreshold, 37},
    {122, DynamicsBlock::CompressorRatio, 38},
    {123, DynamicsBlock::CompressorBoost, 39},
    {124, DynamicsBlock::GateAttack, 40},
    {125, DynamicsBlock::GateRelease, 41},
    {126, DynamicsBlock::GateThreshold, 42},
}};

int clampChannel(int channel) { return std::clamp(channel, 1, 16); }

// Re-entry guard of one flush: a tick that arrives while the same flush waits inside
// SendCommand is skipped.
class TickGuard {
public:
    explicit TickGuard(bool& flag) : m_flag(flag), m_entered(!flag) { m_flag = true; }
    ~TickGuard()
    {
        if (m_entered)
            m_flag = false;
    }
    bool entered() const { return m_entered; }

private:
    bool& m_flag;
    bool m_entered;
};
} // namespace

int DeferredSend::dynamicsCounter(int field)
{
    for (const auto& r : kDynamicsRoutes)
        if (r.field == field)
            return r.counter;
    return 0;
}

int DeferredSend::dynamicsFieldOf(int counter)
{
    for (const auto& r : kDynamicsRoutes)
        if (r.counter == counter)
            return r.field;
    return -1;
}

std::uint8_t DeferredSend::dynamicsCodeOf(int counter)
{
    for (const auto& r : kDynamicsRoutes)
        if (r.counter == counter)
            return r.code;
    return 0;
}

DeferredSend::DeferredSend(Session& session, Clocking clocking, QObject* parent)
    : QObject(parent), m_session(session), m_commands(session), m_clocking(clocking)
{
    if (m_clocking == Clocking::Timers) {
        using Tick = void (DeferredSend::*)();
        const std::array<Tick, kFlushTimers> ticks{&DeferredSend::flushInputs, &DeferredSend::flushMatrix,
                                                   &DeferredSend::flushDelay, &DeferredSend::flushPeq,
                                                   &DeferredSend::flushCompLimit};
        for (int t = 0; t < kFlushTimers; ++t) {
            auto* timer = new QTimer(this);
            timer->setTimerType(Qt::PreciseTimer);
            timer->setInterval(kIntervalMs[std::size_t(t)]);
            connect(timer, &QTimer::timeout, this, ticks[std::size_t(t)]);
            m_timers[std::size_t(t)] = timer;
        }
        m_systemTimer = new QTimer(this);
        m_systemTimer->setInterval(kSystemTickMs);
        connect(m_systemTimer, &QTimer::timeout, this, &DeferredSend::systemTick);
        m_systemTimer->start();
    }
    // As created: only the PEQ flush runs; the first system tick sets the rest by the page rule.
    setOn(FinishPeqTime, true);
}

DeferredSend::~DeferredSend() = default;

void DeferredSend::mark(int counter)
{
    if (counter >= 1 && counter <= kCounters)
        m_counters[std::size_t(counter)] = 2;
}

DirtyCounter DeferredSend::counter(int index) const
{
    if (index < 1 || index > kCounters)
        return 0;
    return m_counters[std::size_t(index)];
}

void DeferredSend::ClearDirtyCounters()
{
    m_counters.fill(0);
}

bool DeferredSend::anyPending() const
{
    return std::any_of(m_counters.begin(), m_counters.end(), [](DirtyCounter c) { return c != 0; });
}

void DeferredSend::resetReplyWatch()
{
    m_session.reply.AwaitingReply = 0;
    m_session.reply.ReplySeen = 0;
}

void DeferredSend::setOn(FlushTimer timer, bool on)
{
    m_on[std::size_t(timer)] = on;
    QTimer* t = m_timers[std::size_t(timer)];
    if (!t)
        return;
    // An active timer keeps its phase: restarting it every second would shift its ticks.
    if (on && !t->isActive())
        t->start();
    else if (!on && t->isActive())
        t->stop();
}

void DeferredSend::applyPageRule()
{
    bool in = false, matrix = false, delay = false, peq = false, comp = false;
    if (m_session.editorOnScreen) {
        switch (m_selection.pageShown) {
        case EditorSelection::InputGainPage:
        case EditorSelection::OutputGainPage:
            in = true;
            break;
        case EditorSelection::MatrixPage:
            matrix = true;
            break;
        case EditorSelection::XoverPage:
            // The XOVER page carries the shown output's gain, mute and polarity as well.
            in = true;
            peq = true;
            break;
        case EditorSelection::DelayPage:
            delay = true;
            break;
        case EditorSelection::CompLimitPage:
            comp = true;
            break;
        default:
            break;
        }
    }
    setOn(FinishInTime, in);
    setOn(FinishMatrixTime, matrix);
    setOn(FinishDelayTime, delay);
    setOn(FinishPeqTime, peq);
    setOn(FinishCompLimitTime, comp);
}

void DeferredSend::systemTick()
{
    applyPageRule();
    // Only a command whose frame has finished on the line (settling time included, in which a
    // unit answers) counts as unanswered; a frame still queued or being written is not repeated.
    const ReplyRecord& reply = m_session.reply;
    if (reply.AwaitingReply == kSet && reply.ReplySeen == ReplyRecord::kReplyPending
        && m_session.link.PendingFrames.load() <= 0)
        m_session.sendCommand();
}

bool DeferredSend::takeTick(DirtyCounter& counter, bool zeroAfter)
{
    if (counter == 0)
        return false;
    counter = zeroAfter ? 0 : DirtyCounter(counter - 1);
    return true;
}

void DeferredSend::sendInputs(bool once)
{
    const MatrixParameters& p = m_session.store.params;
    CommandRecord& record = m_session.command;
    for (int i = 1; i <= 16; ++i) {
        if (takeTick(m_counters[std::size_t(inputGainCounter(i))], once)) {
            record.Channel = std::uint8_t(i);
            m_commands.SendInputGain(p.inputGain[std::size_t(i)]);
        }
    }
    for (int o = 1; o <= 16; ++o) {
        if (takeTick(m_counters[std::size_t(outputGainCounter(o))], once)) {
            record.Channel = std::uint8_t(o);
            m_commands.SendOutputGain(p.outputGain[std::size_t(o)]);
        }
    }
    for (int o = 1; o <= 16; ++o) {
        if (takeTick(m_counters[std::size_t(polarityCounter(o))], once)) {
            record.Channel = std::uint8_t(o);
            m_commands.SendPolarity(p.polarity[std::size_t(o)]);
        }
    }
}

void DeferredSend::sendMatrix(bool once)
{
    const MatrixParameters& p = m_session.store.params;
    for (int i = 1; i <= 16; ++i) {
        if (takeTick(m_counters[std::size_t(crosspointCounter(i))], once)) {
            // Read the shown output at every send: a tab switch during a courtesy wait is honoured.
            const int output = clampChannel(m_selection.matrixOutput);
            m_session.command.Channel = std::uint8_t(output);
            m_commands.SendCrosspoint(p.crosspoint[std::size_t(output)][std::size_t(i)], i);
        }
    }
}

void DeferredSend::sendDelays(bool once)
{
    const MatrixParameters& p = m_session.store.params;
    for (int o = 1; o <= 16; ++o) {
        if (takeTick(m_counters[std::size_t(delayCounter(o))], once)) {
            m_session.command.Channel = std::uint8_t(o);
            m_commands.SendDelay(p.delay[std::size_t(o)]);
        }
    }
}

void DeferredSend::sendPeq(bool once)
{
    const MatrixParameters& p = m_session.store.params;
    const int output = clampChannel(m_selection.peqOutput);
    const CrossoverSettings& x = p.crossover[std::size_t(output)];
    if (takeTick(m_highPassCounter, once)) {
        m_session.command.Channel = std::uint8_t(output);
        m_commands.SendHighPass(x.highPassFrequency, x.highPassType);
    }
    if (takeTick(m_lowPassCounter, once)) {
        m_session.command.Channel = std::uint8_t(output);
        m_commands.SendLowPass(x.lowPassFrequency, x.lowPassType);
    }
    if (!m_selection.crossoverDialogOnScreen)
        clearCrossoverCounters();
    if (takeTick(m_peqBandCounter, once)) {
        const int band = std::clamp(m_selection.currentBand, 1, 5);
        m_session.command.Channel = std::uint8_t(output);
        m_commands.SendPeqBand(p.peq[std::size_t(output)][std::size_t(band)]);
    }
    if (!m_selection.peqBandDialogOnScreen)
        clearPeqBandCounter();
}

void DeferredSend::sendCompLimit(bool once)
{
    const MatrixParameters& p = m_session.store.params;
    const int channel = clampChannel(m_selection.dynamicsChannel);
    for (const auto& r : kDynamicsRoutes) {
        if (takeTick(m_counters[std::size_t(r.counter)], once)) {
            m_session.command.Channel = std::uint8_t(channel);
            m_commands.SendDynamicsByte(r.code, p.dynamics[std::size_t(channel)][r.field]);
        }
    }
}

void DeferredSend::flushInputs()
{
    TickGuard guard(m_inTick[FinishInTime]);
    if (guard.entered())
        sendInputs(false);
}

void DeferredSend::flushMatrix()
{
    TickGuard guard(m_inTick[FinishMatrixTime]);
    if (guard.entered())
        sendMatrix(false);
}

void DeferredSend::flushDelay()
{
    TickGuard guard(m_inTick[FinishDelayTime]);
    if (guard.entered())
        sendDelays(false);
}

void DeferredSend::flushPeq()
{
    TickGuard guard(m_inTick[FinishPeqTime]);
    if (guard.entered())
        sendPeq(false);
}

void DeferredSend::flushCompLimit()
{
    TickGuard guard(m_inTick[FinishCompLimitTime]);
    if (guard.entered())
        sendCompLimit(false);
}

void DeferredSend::sendPendingNow()
{
    sendInputs(true);
    sendMatrix(true);
    sendDelays(true);
    sendPeq(true);
    sendCompLimit(true);
}
