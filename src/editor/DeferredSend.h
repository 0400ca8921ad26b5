#pragma once
#include "editor/EditorSelection.h"
#include "editor/MatrixCommands.h"

#include <QObject>
#include <array>
#include <cstdint>

class QTimer;
class Session;

// One mark of the deferred send: 2 after a change, counted down once per tick of its flush timer,
// the parameter is sent on each of the two ticks with the value stored at that tick.
using DirtyCounter = std::uint8_t;

// Deferred and repeated sending of the matrix editor's edits.
//
// A change handler stores the new value in MatrixParameters and marks the parameter's counter;
// the flush timer of the page on screen then sends each marked parameter on its next two ticks,
// always reading the value from MatrixParameters and addressing the channel the counter belongs
// to. The one-second system tick switches the flush timers by the page shown (all off while the
// editor is hidden) and repeats the last command while no reply to it has arrived.
//
// Counters 1..126: 1..16 input gain, 17..32 crosspoint of input i - 16 into the output shown on the
// Matrix page, 33..48 polarity, 65..80 output gain, 97..112 delay, 113..126 the dynamics bytes of
// the Comp/Limit channel (49..64 and 81..96 are unused). Three more counters belong to the PEQ band
// and crossover dialogs and are flushed by the PEQ timer.
//
// GUI thread only. A flush calls SendCommand, whose courtesy wait runs the event loop; a tick of
// the same timer arriving during that wait is skipped, so one tick never nests in another.
class DeferredSend : public QObject {
    Q_OBJECT
public:
    enum FlushTimer : int {
        FinishInTime = 0,      // 300 ms: input gain, output gain, polarity
        FinishMatrixTime,      // 300 ms: crosspoints of the shown output
        FinishDelayTime,       // 350 ms: delays
        FinishPeqTime,         // 450 ms: the crossover and PEQ band dialog counters
        FinishCompLimitTime,   // 300 ms: dynamics bytes of the Comp/Limit channel
    };
    static constexpr int kFlushTimers = 5;
    static constexpr std::array<int, kFlushTimers> kIntervalMs{300, 300, 350, 450, 300};
    static constexpr int kSystemTickMs = 1000;

    static constexpr int kCounters = 126;
    static constexpr int kFirstDynamicsCounter = 113;
    static constexpr int inputGainCounter(int input) { return input; }
    static constexpr int crosspointCounter(int input) { return 16 + input; }
    static constexpr int polarityCounter(int output) { return 32 + output; }
    static constexpr int outputGainCounter(int output) { return 64 + output; }
    static constexpr int delayCounter(int output) { return 96 + output; }
    // Counter 113..126 of a DynamicsBlock field (DynamicsBlock::Field).
    static int dynamicsCounter(int field);
    // DynamicsBlock field and command code of counter 113..126.
    static int dynamicsFieldOf(int counter);
    static std::uint8_t dynamicsCodeOf(int counter);

    // Timers: real QTimers on the GUI thread; Manual keeps the same on/off state but leaves the
    // ticks to the caller (virtual-clock harnesses drive them with the tick functions below).
    enum class Clocking { Timers, Manual };

    explicit DeferredSend(Session& session, Clocking clocking = Clocking::Timers, QObject* parent = nullptr);
    ~DeferredSend() override;

    EditorSelection& selection() { return m_selection; }
    const EditorSelection& selection() const { return m_selection; }
    MatrixCommands& commands() { return m_commands; }

    // Mark: counter := 2 (again 2 if it had not run out). Indices outside 1..126 are ignored.
    void mark(int counter);
    DirtyCounter counter(int index) const;
    // Counters 1..126 := 0. The dialog counters are left alone.
    void ClearDirtyCounters();
    bool anyPending() const;

    // The dialog counters flushed by the PEQ timer.
    void markPeqBand() { m_peqBandCounter = 2; }
    void markHighPass() { m_highPassCounter = 2; }
    void markLowPass() { m_lowPassCounter = 2; }
    DirtyCounter peqBandCounter() const { return m_peqBandCounter; }
    DirtyCounter highPassCounter() const { return m_highPassCounter; }
    DirtyCounter lowPassCounter() const { return m_lowPassCounter; }
    void clearPeqBandCounter() { m_peqBandCounter = 0; }
    void clearCrossoverCounters() { m_highPassCounter = m_lowPassCounter = 0; }

    // Sends every parameter still marked once, in flush order and for the channel its counter
    // belongs to, and zeroes its counter (the dialog counters too). Called before anything that
    // would otherwise drop pending marks (a page load, a channel switch), while sending is still
    // allowed, so that a value already stored is never left unsent.
    void sendPendingNow();

    // Showing the editor: AwaitingReply and ReplySeen := 0.
    void resetReplyWatch();

    bool isOn(FlushTimer timer) const { return m_on[std::size_t(timer)]; }

    // The ticks, as the timers call them.
    void flushInputs();
    void flushMatrix();
    void flushDelay();
    void flushPeq();
    void flushCompLimit();
    // Page rule, then the resend of an unanswered command: the command record is sent again while
    // AwaitingReply is 100 and ReplySeen is still 50 once the line has finished every frame.
    void systemTick();

private:
    void setOn(FlushTimer timer, bool on);
    void applyPageRule();
    // Decrements the counter when it is not 0; true when the parameter is to be sent now.
    bool takeTick(DirtyCounter& counter, bool zeroAfter);
    void sendInputs(bool once);
    void sendMatrix(bool once);
    void sendDelays(bool once);
    void sendPeq(bool once);
    void sendCompLimit(bool once);

    Session& m_session;
    MatrixCommands m_commands;
    EditorSelection m_selection;
    Clocking m_clocking;
    std::array<DirtyCounter, kCounters + 1> m_counters{}; // [0] unused
    DirtyCounter m_peqBandCounter = 0;
    DirtyCounter m_highPassCounter = 0;
    DirtyCounter m_lowPassCounter = 0;
    std::array<bool, kFlushTimers> m_on{};
    std::array<bool, kFlushTimers> m_inTick{};
    std::array<QTimer*, kFlushTimers> m_timers{};
    QTimer* m_systemTimer = nullptr;
};
