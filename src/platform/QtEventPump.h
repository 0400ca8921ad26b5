#pragma once
#include "platform/EventPump.h"

#include <memory>
#include <vector>

class QEventLoop;
class QTimer;

// The real PumpWait: a local event loop ended by a precise single-shot timer, so waiting costs
// no CPU. The loop is re-entered until the monotonic clock says the time has really passed.
// Waits nest (a timer handler may wait inside a wait); each depth keeps its own loop and timer.
class QtEventPump : public EventPump {
public:
    QtEventPump();
    ~QtEventPump() override;
    void processEvents() override;
    std::int64_t nowMs() const override;

    // The UNIX event dispatcher wakes up for a 1 ms timer at a fraction of the glib one's cost;
    // call before the application object is created.
    static void preferLightDispatcher();

protected:
    void waitFor(int ms) override;

private:
    struct Level;
    std::vector<std::unique_ptr<Level>> m_levels;
    std::size_t m_depth = 0;
};
