#pragma once
#include "cli/ProgressBar.h"
#include "link/LinkSession.h"
#include "link/PortSettings.h"
#include "link/Session.h"
#include "platform/QtEventPump.h"
#include "platform/TerminationSignal.h"
#include "programs/ProgramMemory.h"

#include <QString>
#include <QTextStream>
#include <functional>
#include <memory>

// Everything an online command of tolvan16ctl needs, wired as the designer's main window wires
// it: the real PumpWait, a Session on the paced writer, the port settings, the link session whose
// settings upload is the program memory's ReadUnitSettings, and a progress bar on stderr.
// SIGTERM / SIGINT end the running procedure at its next wait; the command still disconnects.
// Lives on the main thread of the QCoreApplication.
class OnlineSession {
public:
    OnlineSession(QTextStream& err, int address, int modelCode);
    ~OnlineSession();

    Session& session() { return *m_session; }
    LinkSession& link() { return *m_link; }
    ProgramMemory& memory() { return *m_memory; }
    PortSettings& ports() { return m_ports; }
    ProgressBar& progress() { return m_progress; }

    // --port: empty = the stored port number; "COM"n = that number through the COM table and
    // overrides; anything else = a device path for this run. False with `error` set when "COM"n
    // maps to no device.
    bool selectPort(const QString& portOption, QString& error);

    // Runs `procedure` as the designer runs one (Session::runProcedure). False when it was ended
    // by a termination signal.
    bool run(const std::function<void()>& procedure);
    bool interrupted() const { return m_interrupted; }

    // Connect's preparation (close, reopen the port, sending on). False when the port does not
    // open; `error` is then the port error box's text.
    bool openPort(QString& error);
    // Quick connect to the address; false when the unit did not answer.
    bool quickConnect();
    // Disconnect, as the designer does when it closes; also when a procedure was interrupted.
    void disconnect();

private:
    QTextStream& m_err;
    QtEventPump m_pump;
    std::unique_ptr<Session> m_session;
    PortSettings m_ports;
    std::unique_ptr<LinkSession> m_link;
    std::unique_ptr<ProgramMemory> m_memory;
    ProgressBar m_progress;
    TerminationSignal m_termination;
    bool m_portOpened = false;
    bool m_interrupted = false;
};
