#pragma once
// A designer-side Session on a virtual clock, wired to virtual units on an in-process line, for
// procedure tests with long waits (a 36 s recall runs in milliseconds). Header only; tests only.
#include "link/LinkSession.h"
#include "link/PortSettings.h"
#include "link/Session.h"
#include "sim/InProcessLine.h"
#include "sim/SimLine.h"
#include "sim/VirtualClockPump.h"

#include <QStringList>
#include <memory>
#include <vector>

// Records everything the procedures report, in order.
struct RecordingObserver : SessionObserver, LinkSessionObserver {
    std::vector<int> progress;
    QStringList activity;
    std::vector<std::pair<int, QString>> online;
    std::vector<std::pair<bool, bool>> lockMenus;
    std::vector<bool> layoutPanel;
    int listClears = 0;
    std::vector<bool> connectButtons;
    int dialogCloses = 0;
    std::vector<bool> lockPicture;

    void progressChanged(int v) override { progress.push_back(v); }
    void activityTextChanged(const QString& t) override { activity << t; }
    void onlineDisplayChanged(int led, const QString& p) override { online.emplace_back(led, p); }
    void lockMenusChanged(bool l, bool u) override { lockMenus.emplace_back(l, u); }
    void layoutPanelEnabledChanged(bool e) override { layoutPanel.push_back(e); }
    void programListCleared() override { ++listClears; }
    void connectButtonsEnabledChanged(bool e) override { connectButtons.push_back(e); }
    void connectDialogCloseRequested() override { ++dialogCloses; }
    void lockPictureVisibleChanged(bool v) override { lockPicture.push_back(v); }
};

struct VirtualRig {
    VirtualClockPump pump;
    SimLine sim;
    InProcessLine* line = nullptr;
    Session session{pump, [this](LinkState& l) {
                        auto p = std::make_unique<InProcessLine>(l, sim, pump);
                        line = p.get();
                        return std::unique_ptr<LineTransport>(std::move(p));
                    }};
    PortSettings ports;
    LinkSession link{session, ports};
    RecordingObserver seen;

    explicit VirtualRig(int modelCode = 11)
    {
        session.store.model = DeviceModel::fromCode(modelCode);
        ports.setOneRunPath(QStringLiteral("virtual"));
        session.addObserver(&seen);
        link.setObserver(&seen);
    }
    ~VirtualRig() { session.removeObserver(&seen); }

    VirtualUnit& unit(int address, int modelCode = 11)
    {
        VirtualUnit& u = sim.addUnit(std::uint8_t(address));
        u.setModel(DeviceModel::fromCode(modelCode));
        return u;
    }
    // Sending on, as after a quick connect to `address`.
    void online(int address)
    {
        session.command.Address = std::uint8_t(address);
        session.link.SendEnabled = 1;
        session.link.LinkConnected = kSet;
        line->open();
    }
    // Valid frames of one command seen on the line, in order.
    std::vector<SimFrame> frames(int command) const
    {
        std::vector<SimFrame> out;
        for (const SimFrame& f : sim.frames())
            if (f.valid && f.command == command)
                out.push_back(f);
        return out;
    }
    static double ms(std::int64_t ns) { return double(ns) / 1e6; }
};
