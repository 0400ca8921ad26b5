#pragma once
// A session on the in-process virtual line (virtual clock), with a connected unit at address 1
// and a deferred send whose ticks the test drives itself.
#include "editor/DeferredSend.h"
#include "editor/MatrixCommands.h"
#include "link/Session.h"
#include "sim/InProcessLine.h"
#include "sim/SimLine.h"
#include "sim/VirtualClockPump.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

struct EditorLineFixture : ::testing::Test {
    SimLine line;
    VirtualClockPump pump;
    std::unique_ptr<Session> session;
    std::unique_ptr<DeferredSend> deferred;

    void SetUp() override
    {
        line.addUnit(1);
        session = std::make_unique<Session>(
            pump, [this](LinkState& link) { return std::make_unique<InProcessLine>(link, line, pump); });
        ASSERT_TRUE(session->line().open());
        session->link.SendEnabled = 1;
        session->link.LinkConnected = 100;
        session->command.Address = 1;
        deferred = std::make_unique<DeferredSend>(*session, DeferredSend::Clocking::Manual);
    }

    // Lets the virtual line finish everything handed over (and the unit answer), then returns
    // the frames it saw since the last call.
    std::vector<SimFrame> drain()
    {
        pump.waitFor(400);
        auto frames = line.frames();
        line.clearLog();
        return frames;
    }
};
