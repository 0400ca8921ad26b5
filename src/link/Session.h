#pragma once
#include "link/CommandRecord.h"
#include "link/LineTransport.h"
#include "link/LinkState.h"
#include "link/ReplyParser.h"
#include "link/ReplyRecord.h"
#include "link/SessionObserver.h"
#include "model/ParameterStore.h"
#include "platform/EventPump.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// What the status bar shows; kept here so that procedures and tests read it without windows.
struct StatusView {
    int progress = 0;               // progst1
    QString activityText;           // RX232TEXT
    int onlineLed = 0;              // ONLINELED
    QString panel4 = QStringLiteral("OFFLINE");
    bool lockMenuEnabled = true;
    bool unlockMenuEnabled = false;
    bool layoutPanelEnabled = true;
};

// Everything the main window owns for the whole run: command record, reply record, link state,
// parameter store. Created once and handed by reference to every window and procedure.
// GUI thread only, except LinkState's two atomics, which the writer also touches.
class Session : public QObject {
    Q_OBJECT
public:
    // A line that needs the link state (the PacedWriter, an in-process virtual line) is made by
    // the session itself, which then owns it:
    //   Session s(pump, [](LinkState& link) { return std::make_unique<PacedWriter>(link); });
    using LineFactory = std::function<std::unique_ptr<LineTransport>(LinkState&)>;
    Session(EventPump& pump, const LineFactory& makeLine, QObject* parent = nullptr);
    // A line owned elsewhere.
    Session(EventPump& pump, LineTransport& line, QObject* parent = nullptr);
    ~Session() override;

    CommandRecord command;
    ReplyRecord reply;
    LinkState link;
    ParameterStore store;
    // True while the matrix editor is on screen: arms AwaitingReply for edits (codes < 200).
    bool editorOnScreen = false;

    EventPump& pump() { return m_pump; }
    LineTransport& line() { return m_line; }
    ReplyParser& parser() { return m_parser; }

    // SendCommand: lays out the command record as a frame and hands it to the line. The frame's
    // content is taken from the record when this is entered, before the 10 ms courtesy wait,
    // during which handlers and timers may rewrite the record.
    void sendCommand();

    // Runs a procedure (connect, search, a program transfer, ...) that waits with pump().wait().
    // Returns false when it was ended early by an abort request (closing, SIGTERM).
    bool runProcedure(const std::function<void()>& procedure);
    bool procedureRunning() const { return m_procedureDepth > 0; }

    // Status bar: every setter stores the value and tells the observers.
    const StatusView& status() const { return m_status; }
    void setProgress(int value);
    void setActivityText(const QString& text);
    void setOnlineDisplay(int led, const QString& panel4);
    void setLockMenus(bool lockEnabled, bool unlockEnabled);
    void setLayoutPanelEnabled(bool enabled);
    void notifyProgramListCleared();
    void refreshTexts();

    void addObserver(SessionObserver* observer);
    void removeObserver(SessionObserver* observer);

    // Bytes from the line go through the reply parser.
    void onBytesReceived(const QByteArray& bytes);
    // Drops received bytes not yet parsed ("clear the receive buffer length").
    void clearReceiveBuffer();

signals:
    void frameSubmitted(const QByteArray& frame);

private:
    EventPump& m_pump;
    // Declared after `link`, so an owned line (whose writer drains into the link state) goes first.
    std::unique_ptr<LineTransport> m_ownedLine;
    LineTransport& m_line;
    ReplyParser m_parser;
    StatusView m_status;
    std::vector<SessionObserver*> m_observers;
    int m_procedureDepth = 0;
};
