#pragma once

#include "instrumentbehaviour.h"
#include "instrumentmodel.h"
#include "simulatedblock.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QString>
#include <QVector>

// A simulated instrument on a pseudo-terminal. Plugging it in opens a
// pseudo-terminal whose device path a serial port can open; the simulator
// answers from the other side, on the event loop of the thread it lives on.
// Unplugging closes the pseudo-terminal, and its device path disappears as an
// unplugged adapter's would.
class InstrumentSimulator : public QObject
{
    Q_OBJECT

public:
    explicit InstrumentSimulator(QObject *parent = nullptr);
    ~InstrumentSimulator() override;

    void setBlocks(const QVector<SimulatedBlock> &blocks);
    const QVector<SimulatedBlock> &blocks() const;
    void setBehaviour(const InstrumentBehaviour &behaviour);
    const InstrumentBehaviour &behaviour() const;

    // A symbolic link kept pointing at the pseudo-terminal while plugged in,
    // so that the instrument keeps one path across unplugging and plugging in.
    void setLinkPath(const QString &path);
    QString linkPath() const { return link; }

    bool plugIn(QString *error = nullptr);
    void unplug();
    bool isPluggedIn() const;

    // The path a serial port opens: the link if one is set, otherwise the
    // pseudo-terminal's device; empty while unplugged.
    QString portPath() const;
    QString devicePath() const;

    // Everything received since plugging in or clearing, and the request
    // words made of it.
    QByteArray receivedBytes() const { return received; }
    QVector<quint32> requests() const { return requestWords; }
    qint64 bytesSent() const { return sentTotal; }
    void clearRecords();

signals:
    void requestReceived(quint32 word);
    void pluggedIn(const QString &path);
    void unplugged();

private:
    void readRequests();
    void serve(quint32 word);
    void queueAnswer(const QByteArray &answer, int code, qint64 arrivalNs);
    void transmitDue();
    void armTransmission();
    void armTimer(qint64 waitNs);
    void transmitTimerExpired();

    InstrumentModel model;
    QString link;
    QString slavePath;
    int masterFd = -1;
    int slaveFd = -1;
    QPointer<QSocketNotifier> readNotifier;
    QPointer<QSocketNotifier> writeNotifier;

    QByteArray pendingRequest;
    QByteArray outgoing;
    QVector<qint64> dueNs;
    int nextToSend = 0;
    // Sends the next bytes at their time to the microsecond: a millisecond
    // timer would make every answer late by up to a millisecond.
    int transmitTimerFd = -1;
    QPointer<QSocketNotifier> transmitNotifier;
    QElapsedTimer clock;

    QByteArray received;
    QVector<quint32> requestWords;
    qint64 sentTotal = 0;
};
