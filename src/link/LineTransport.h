#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>

// Where frames go and replies come from: the paced writer on a real serial port, or a virtual
// line in tests. All calls are made on the GUI thread.
class LineTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~LineTransport() override = default;

    // Takes a laid-out frame (without preamble and trailer). Frames go out in hand-over order;
    // the transport decrements LinkState::PendingFrames once per frame, after its settling time,
    // or at once when the frame is dropped because SendEnabled was not 1 at its turn.
    virtual void submit(const QByteArray& frame) = 0;
    virtual void setPortName(const QString& path) = 0;
    virtual QString portName() const = 0;
    virtual void setBaudRate(qint32 baud) = 0;
    // Opens the port; false when it cannot be opened.
    virtual bool open() = 0;
    // Closes the port once the frame being written is complete on the line.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Frames handed over and not yet finished (waiting, being written or settling). Lets a
    // procedure tell when its request has really gone out; a transport that cannot tell says 0.
    virtual int queuedFrames() const { return 0; }

signals:
    // A chunk of received bytes, delivered on the GUI thread.
    void bytesReceived(const QByteArray& bytes);
};
