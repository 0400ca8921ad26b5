#pragma once
// The editor window on the in-process virtual line (virtual clock, ticks driven by the test),
// shown and active under the offscreen platform.
#include "editor/widgets/Form34.h"
#include "link/Session.h"
#include "model/MatrixOperations.h"
#include "sim/InProcessLine.h"
#include "sim/SimLine.h"
#include "sim/VirtualClockPump.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

struct EditorWindowFixture : ::testing::Test {
    SimLine line;
    VirtualClockPump pump;
    std::unique_ptr<Session> session;
    std::unique_ptr<Form34> editor;

    void SetUp() override
    {
        line.addUnit(1);
        session = std::make_unique<Session>(
            pump, [this](LinkState& link) { return std::make_unique<InProcessLine>(link, line, pump); });
        ASSERT_TRUE(session->line().open());
        session->link.SendEnabled = 1;
        session->link.LinkConnected = 100;
        session->command.Address = 1;
        SelectDeviceModel(session->store, 11);
        editor = std::make_unique<Form34>(*session, nullptr, DeferredSend::Clocking::Manual);
    }

    void TearDown() override
    {
        editor.reset();
    }

    // Configuration (parameters kept), then the editor opened as the overview does, shown and active.
    void open(int model, int page = 0, int tab = 0)
    {
        session->store.model = DeviceModel::fromCode(model);
        editor->openAt(page, tab);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }

    std::vector<SimFrame> drain()
    {
        pump.waitFor(400);
        auto frames = line.frames();
        line.clearLog();
        return frames;
    }
};
