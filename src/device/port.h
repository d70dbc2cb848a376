#pragma once

#include "device/serialportmonitor.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <QVector>

// The link to the instrument: detection on newly seen ports, the request
// primitive and the block commands.
class Port : public QObject
{
    Q_OBJECT

public:
    Port();
    ~Port() override;

    QByteArray sendRequest(quint32 command, int expectedSize, int timeoutMs);
    bool checkResponse(const QByteArray &answer);

    int getBlocksAmount();
    QByteArray getBlockName(unsigned index);
    int getBlockSize(unsigned index);
    QVector<float> getBlockData(unsigned index);

    // True from a successful handshake until the instrument is lost.
    bool isInstrumentConnected() const;
    // The instrument's port; empty while no instrument is connected.
    QString instrumentPortName() const;

signals:
    void validPortFound();
    void validPortDisconnected();
    void recievedValidReponse();

private slots:
    void checkIfPortIsValidForDataExchange(QString portName);
    void checkIfValidPortDisconnected(QSerialPort::SerialPortError error);
    void serialReciever();

private:
    void applyLineSettings();
    void armDetection();
    void disarmDetection();
    void armLossHandler();
    void disarmLossHandler();
    void abandonCandidatePort(QSerialPort::SerialPortError error);
    void tryDeferredPorts();

    QByteArray responseBuffer;
    SerialPortMonitor monitor;
    int expectedResponseSize = 0;
    QSerialPort serial;

    // Each of these connections exists at most once.
    QMetaObject::Connection detection;
    QMetaObject::Connection lossHandler;
    // Closes a candidate port that fails during its handshake.
    QMetaObject::Connection candidateGuard;

    bool instrumentConnected = false;
    bool waitInProgress = false;
    // Ports reported while an exchange was waiting, tried once it has ended.
    QStringList deferredPorts;
};
