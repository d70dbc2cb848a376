#pragma once

#include "serialportmonitor.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QVector>

// The link to the instrument: detection on newly seen ports, the request
// primitive and the block commands.
class Port : public QObject
{
    Q_OBJECT

public:
    Port();

    QByteArray sendRequest(quint32 command, int expectedSize, int timeoutMs);
    bool checkResponse(const QByteArray &answer);

    int getBlocksAmount();
    QByteArray getBlockName(unsigned index);
    int getBlockSize(unsigned index);
    QVector<float> getBlockData(unsigned index);

signals:
    void validPortFound();
    void validPortDisconnected();
    void recievedValidReponse();

private slots:
    void checkIfPortIsValidForDataExchange(QString portName);
    void checkIfValidPortDisconnected(QSerialPort::SerialPortError error);
    void serialReciever();

private:
    QByteArray responseBuffer;
    SerialPortMonitor monitor;
    int expectedResponseSize = 0;
    QSerialPort serial;
};
