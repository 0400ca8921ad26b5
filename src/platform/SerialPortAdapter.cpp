#include "platform/SerialPortAdapter.h"

#include <QFileInfo>
#include <QSerialPort>

SerialPortAdapter::SerialPortAdapter(QObject* parent) : QObject(parent), m_port(new QSerialPort(this))
{
    m_port->setReadBufferSize(4096);
    connect(m_port, &QSerialPort::readyRead, this, &SerialPortAdapter::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        switch (e) {
        case QSerialPort::ReadError:
        case QSerialPort::ResourceError:
        case QSerialPort::WriteError:
            // A closed far end repeats ReadError in a tight loop unless the port is closed.
            if (m_port->isOpen())
                m_port->close();
            emit portFailed(m_port->errorString());
            break;
        default:
            break;
        }
    });
}

SerialPortAdapter::~SerialPortAdapter() = default;

void SerialPortAdapter::setPortName(const QString& path)
{
    m_port->setPortName(path);
}

QString SerialPortAdapter::portName() const
{
    return m_port->portName();
}

void SerialPortAdapter::setBaudRate(qint32 baud)
{
    m_baud = baud;
    if (m_port->isOpen())
        m_port->setBaudRate(baud);
}

bool SerialPortAdapter::open()
{
    if (m_port->isOpen())
        return true;
    if (!m_port->open(QIODevice::ReadWrite))
        return false;
    m_port->setBaudRate(m_baud);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    // Pseudo-terminals refuse modem lines (UnsupportedOperationError): harmless, so ignored.
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(false);
    m_port->clearError();
    return true;
}

void SerialPortAdapter::close()
{
    if (m_port->isOpen())
        m_port->close();
}

bool SerialPortAdapter::isOpen() const
{
    return m_port->isOpen();
}

bool SerialPortAdapter::writeByte(char byte)
{
    if (!m_port->isOpen())
        return false;
    if (m_port->write(&byte, 1) != 1)
        return false;
    // Without flush the byte would sit in Qt's buffer until the event loop runs again.
    return m_port->flush() || m_port->bytesToWrite() == 0;
}

QString SerialPortAdapter::errorString() const
{
    return m_port->errorString();
}

bool SerialPortAdapter::isPresent(const QString& path)
{
    QSerialPort probe;
    probe.setPortName(path);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return true;
    }
    // Held by another program: the device exists but the open is refused.
    return probe.error() == QSerialPort::PermissionError && QFileInfo::exists(path);
}

void SerialPortAdapter::onReadyRead()
{
    const QByteArray bytes = m_port->readAll();
    if (!bytes.isEmpty())
        emit bytesReceived(bytes);
}
