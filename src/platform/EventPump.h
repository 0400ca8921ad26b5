#pragma once
#include <cstdint>
#include <exception>

// Thrown by EventPump::wait() once an abort was requested (the main window closes, SIGTERM):
// a running procedure ends at its next wait. Procedures are entered through Session::runProcedure,
// which catches it; it must never cross a Qt event handler.
struct ProcedureAborted : std::exception {
    const char* what() const noexcept override { return "procedure aborted"; }
};

// PumpWait and friends. All calls are made on the GUI thread.
class EventPump {
public:
    virtual ~EventPump() = default;

    // Returns after at least `ms` milliseconds while timers, input and serial receive events run.
    // Throws ProcedureAborted when an abort has been requested.
    void wait(int ms)
    {
        if (m_abort)
            throw ProcedureAborted();
        waitFor(ms);
        if (m_abort)
            throw ProcedureAborted();
    }
    // The same wait, but an abort request only shortens it; used where no procedure can unwind
    // (inside SendCommand, which timers call).
    void waitNoThrow(int ms)
    {
        if (!m_abort)
            waitFor(ms);
    }
    // "Let pending GUI events run" once.
    virtual void processEvents() = 0;
    // Milliseconds on this pump's clock (the monotonic clock, or a test's virtual clock).
    virtual std::int64_t nowMs() const = 0;

    void requestAbort() { m_abort = true; }
    void clearAbort() { m_abort = false; }
    bool abortRequested() const { return m_abort; }

protected:
    virtual void waitFor(int ms) = 0;

private:
    bool m_abort = false;
};
