#include "cli/OnlineSession.h"

#include "link/PacedWriter.h"
#include "model/MatrixImageCodec.h"
#include "model/MatrixOperations.h"

OnlineSession::OnlineSession(QTextStream& err, int address, int modelCode) : m_err(err), m_progress(err)
{
    m_session = std::make_unique<Session>(m_pump, [](LinkState& l) { return std::make_unique<PacedWriter>(l); });
    SelectDeviceModel(m_session->store, modelCode);
    // A 4*4 read fills only bytes 0..447: the rest of the load image is defined beforehand.
    PrefillImageBuffers(m_session->store);
    m_link = std::make_unique<LinkSession>(*m_session, m_ports);
    m_link->setAddressBox(address);
    m_memory = std::make_unique<ProgramMemory>(*m_session);
    m_link->setSettingsUpload([this] { return m_memory->readUnitSettings(); });
    m_session->addObserver(&m_progress);
    QObject::connect(&m_termination, &TerminationSignal::received, [this](int) {
        m_interrupted = true;
        m_pump.requestAbort();
    });
}

OnlineSession::~OnlineSession()
{
    m_progress.finish();
    m_session->removeObserver(&m_progress);
}

bool OnlineSession::selectPort(const QString& portOption, QString& error)
{
    m_ports.load();
    if (portOption.isEmpty())
        return true;
    if (portOption.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) {
        bool ok = false;
        const int n = portOption.mid(3).toInt(&ok);
        if (!ok || n < PortSettings::kFirstPort || n > PortSettings::kLastPort) {
            error = QStringLiteral("bad port %1 (COM1..COM120 or a device path)").arg(portOption);
            return false;
        }
        if (m_ports.devicePath(n).isEmpty()) {
            error = QStringLiteral("%1 stands for no device on this machine").arg(PortSettings::portName(n));
            return false;
        }
        m_ports.setPortNumber(n);
        return true;
    }
    m_ports.setOneRunPath(portOption);
    return true;
}

bool OnlineSession::run(const std::function<void()>& procedure)
{
    if (m_interrupted)
        return false;
    const bool completed = m_session->runProcedure(procedure);
    m_progress.finish();
    return completed && !m_interrupted;
}

bool OnlineSession::openPort(QString& error)
{
    bool opened = false;
    run([&] { opened = m_link->prepareConnect(); });
    m_portOpened = opened;
    if (!opened)
        error = PortSettings::openErrorText(m_ports.portNumber()) +
                (m_ports.oneRunPath().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_ports.oneRunPath()));
    return opened;
}

bool OnlineSession::quickConnect()
{
    bool online = false;
    run([&] { online = m_link->quickConnect(); });
    return online;
}

void OnlineSession::disconnect()
{
    if (!m_portOpened)
        return;
    // Runs even after an interruption: the abort request was cleared when the procedure ended.
    m_progress.finish();
    m_progress.setMuted(true);
    m_session->runProcedure([this] { m_link->disconnect(); });
    m_progress.setMuted(false);
}
