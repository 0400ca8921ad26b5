#pragma once
#include "platform/EventPump.h"

// The real PumpWait: a local event loop ended by a precise single-shot timer, so waiting costs
// no CPU. The loop is re-entered until the monotonic clock says the time has really passed.
class QtEventPump : public EventPump {
public:
    void processEvents() override;
    std::int64_t nowMs() const override;

protected:
    void waitFor(int ms) override;
};
