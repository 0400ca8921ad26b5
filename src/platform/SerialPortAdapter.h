#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;

// Thin adapter over QSerialPort with the line settings of the units: 38400 8N1, no flow control,
// DTR on, RTS off, 4096-byte buffers. Moves bytes only; knows nothing of frames.
// Thread: lives on, and is used from, the one thread that owns it (the writer thread).
class SerialPortAdapter : public QObject {
    Q_OBJECT
public:
    explicit SerialPortAdapter(QObject* parent = nullptr);
    ~SerialPortAdapter() override;

    void setPortName(const QString& path);
    QString portName() const;
    void setBaudRate(qint32 baud);
    bool open();
    void close();
    bool isOpen() const;
    // Writes one byte and pushes it out at once. False on any failure.
    bool writeByte(char byte);
    QString errorString() const;

    // True when `path` can be opened for reading and writing, or is only held by someone else.
    static bool isPresent(const QString& path);

signals:
    void bytesReceived(const QByteArray& bytes);
    // A hard port error (read error, resource error, device removed): the port must be reopened.
    void portFailed(const QString& why);

private:
    void onReadyRead();
    QSerialPort* m_port;
    qint32 m_baud = 38400;
};
