#pragma once
#include "model/MatrixParameters.h"

#include <functional>

class MatrixCommands;
class Session;

// The output copy: the unit copies one output's settings onto another, and the editor mirrors the
// copy in MatrixParameters once the unit has had time for it.
//
// run() sends command 237 and resends it every 300 ms while no reply has come back (five sends at
// most), then waits 100 x 150 ms (about 15 s, the unit copies meanwhile) while reporting progress
// 1..100, then copies in memory, marks every output muted (the unit's outputs come back muted) and
// resets the status-bar gauge. A copy that is never answered still runs to the end: the unit may
// have copied without its reply getting through. Waits with PumpWait, so it must run inside
// Session::runProcedure; an abort ends it at the next wait, before the in-memory copy.
// GUI thread only.
class OutputCopy {
public:
    static constexpr int kMaxSends = 5;
    static constexpr int kResendWaitMs = 300;
    static constexpr int kProgressSteps = 100;
    static constexpr int kProgressStepMs = 150;

    OutputCopy(Session& session, MatrixCommands& commands) : m_session(session), m_commands(commands) {}

    // progress (may be empty) is called with 1..100 after each wait.
    void run(int source, int target, const std::function<void(int)>& progress);
    // How many times the last run sent the command.
    int sends() const { return m_sends; }

    // The settings the copy carries, source onto target (outputs 1..16): delay, output gain word,
    // polarity, the crosspoint row, the five PEQ bands, the crossover and every dynamics byte
    // except the limiter hold. Outputs out of range change nothing.
    static void copyInMemory(MatrixParameters& params, int source, int target);

private:
    Session& m_session;
    MatrixCommands& m_commands;
    int m_sends = 0;
};
