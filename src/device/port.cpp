#include "device/port.h"

#include "device/wireformat.h"

#include <QDebug>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr qint32 kBaudRate = QSerialPort::Baud57600;

constexpr int kIdentificationAnswerSize = 4;
constexpr int kIgnoredIdentificationAttempts = 3;
constexpr int kIgnoredIdentificationTimeoutMs = 700;
constexpr int kDecidingIdentificationTimeoutMs = 2000;

constexpr int kCountAnswerSize = 4;
constexpr int kNameAnswerSize = 20;
constexpr int kSizeAnswerSize = 2;
constexpr int kShortTimeoutMs = 200;
constexpr int kBytesPerValue = 4;
constexpr int kTimeoutPerValueMs = 10;

} // namespace

Port::Port()
{
    armDetection();
    armLossHandler();
}

Port::~Port()
{
    // Closing the port on the way out is not a loss of the instrument.
    disconnect(&serial, nullptr, this, nullptr);
}

bool Port::isInstrumentConnected() const
{
    return instrumentConnected;
}

QString Port::instrumentPortName() const
{
    return instrumentConnected ? serial.portName() : QString();
}

void Port::applyLineSettings()
{
    serial.setBaudRate(kBaudRate, QSerialPort::AllDirections);
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::NoFlowControl);
}

void Port::armDetection()
{
    if (!detection)
        detection = connect(&monitor, &SerialPortMonitor::portConnected, this,
                            &Port::checkIfPortIsValidForDataExchange);
}

void Port::disarmDetection()
{
    disconnect(detection);
    detection = {};
    deferredPorts.clear();
}

void Port::armLossHandler()
{
    if (!lossHandler)
        lossHandler =
            connect(&serial, &QSerialPort::errorOccurred, this, &Port::checkIfValidPortDisconnected);
}

void Port::disarmLossHandler()
{
    disconnect(lossHandler);
    lossHandler = {};
}

QByteArray Port::sendRequest(quint32 command, int expectedSize, int timeoutMs)
{
    responseBuffer.clear();
    // Clearing a closed port only raises an error report.
    if (serial.isOpen())
        serial.clear(QSerialPort::AllDirections);
    expectedResponseSize = expectedSize;

    if (!serial.isOpen()) {
        qDebug() << "Serial port is not open.";
        return QByteArray();
    }

    qDebug() << serial.write(requestFrame(command));

    const QMetaObject::Connection reading =
        connect(&serial, &QSerialPort::readyRead, this, &Port::serialReciever);

    QTimer timer;
    timer.setSingleShot(true);
    QEventLoop loop;
    const QMetaObject::Connection completed =
        connect(this, &Port::recievedValidReponse, &loop, &QEventLoop::quit);
    const QMetaObject::Connection expired = connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);

    waitInProgress = true;
    loop.exec();
    waitInProgress = false;

    if (timer.isActive())
        qDebug() << "recieved VALID";
    else
        qDebug() << "recieved TIMEOUT";

    disconnect(completed);
    disconnect(expired);
    disconnect(reading);

    if (!deferredPorts.isEmpty())
        QTimer::singleShot(0, this, &Port::tryDeferredPorts);

    return responseBuffer;
}

void Port::serialReciever()
{
    const QByteArray chunk = serial.readAll();
    for (const char byte : chunk) {
        responseBuffer.append(byte);
        if (responseBuffer.size() >= expectedResponseSize)
            emit recievedValidReponse();
    }
}

bool Port::checkResponse(const QByteArray &answer)
{
    if (isErrorAnswer(answer)) {
        qDebug() << "response error";
        return false;
    }
    return true;
}

void Port::checkIfPortIsValidForDataExchange(QString portName)
{
    // A handshake inside a waiting exchange would take over its answer.
    if (waitInProgress) {
        if (!deferredPorts.contains(portName))
            deferredPorts.append(portName);
        return;
    }

    qDebug() << "check COM called";
    serial.setPortName(portName);
    applyLineSettings();
    if (!serial.open(QIODevice::ReadWrite))
        return;
    qDebug() << "serial opened";
    if (!serial.isOpen())
        return;

    candidateGuard = connect(&serial, &QSerialPort::errorOccurred, this, &Port::abandonCandidatePort);

    qDebug() << "ASS: " << serial.readAll();
    const quint32 identify = requestWord(DeviceCommand::Identify);
    for (int attempt = 0; attempt < kIgnoredIdentificationAttempts; ++attempt) {
        const QByteArray answer =
            sendRequest(identify, kIdentificationAnswerSize, kIgnoredIdentificationTimeoutMs);
        qDebug() << "ASS: " << answer;
    }
    const QByteArray answer =
        sendRequest(identify, kIdentificationAnswerSize, kDecidingIdentificationTimeoutMs);

    disconnect(candidateGuard);
    candidateGuard = {};

    // A port lost during the handshake is not kept, whatever its last answer.
    if (answer == identificationAnswer() && serial.isOpen()) {
        qDebug() << "nash slon";
        disarmDetection();
        armLossHandler();
        instrumentConnected = true;
        emit validPortFound();
        return;
    }

    if (serial.isOpen())
        serial.readAll();
    serial.close();
    qDebug() << "lame";
}

void Port::abandonCandidatePort(QSerialPort::SerialPortError error)
{
    // A failing candidate reports its error over and over while it is open.
    if (error != QSerialPort::NoError && serial.isOpen())
        serial.close();
}

void Port::checkIfValidPortDisconnected(QSerialPort::SerialPortError error)
{
    qDebug() << error;
    if (serial.isOpen())
        serial.close();
    disarmLossHandler();
    instrumentConnected = false;
    armDetection();
    emit validPortDisconnected();
}

void Port::tryDeferredPorts()
{
    if (waitInProgress)
        return;
    while (!deferredPorts.isEmpty() && detection)
        checkIfPortIsValidForDataExchange(deferredPorts.takeFirst());
    deferredPorts.clear();
}

int Port::getBlocksAmount()
{
    const QByteArray answer =
        sendRequest(requestWord(DeviceCommand::BlocksAmount), kCountAnswerSize, kShortTimeoutMs);
    qDebug() << "blocks amount: ";
    if (answer.isEmpty() || !checkResponse(answer)) {
        qDebug() << "request error";
        return -1;
    }
    const int count = decodeUnsigned16(answer);
    qDebug() << "ok " << count;
    return count;
}

QByteArray Port::getBlockName(unsigned index)
{
    qDebug() << "getBlockName";
    const QByteArray answer =
        sendRequest(requestWord(DeviceCommand::BlockName, index), kNameAnswerSize, kShortTimeoutMs);
    qDebug() << "name of block " << index << ": ";
    if (answer.isEmpty() || !checkResponse(answer)) {
        qDebug() << "error";
        return QByteArray();
    }
    qDebug() << "ok " << answer;
    // Bytes beyond the name field belong to no name.
    return answer.left(kNameAnswerSize);
}

int Port::getBlockSize(unsigned index)
{
    qDebug() << "getBlockSize";
    const QByteArray answer =
        sendRequest(requestWord(DeviceCommand::BlockSize, index), kSizeAnswerSize, kShortTimeoutMs);
    qDebug() << "size of block " << index << ": ";
    if (answer.isEmpty() || !checkResponse(answer)) {
        qDebug() << "error\n-----------------";
        return -1;
    }
    const int size = decodeUnsigned16(answer);
    qDebug() << size << "\n-----------------";
    return size;
}

QVector<float> Port::getBlockData(unsigned index)
{
    qDebug() << "getBlockData";
    const int size = getBlockSize(index);
    qDebug() << "Размер блока - " << size;
    if (size <= 0)
        return {};

    const QByteArray answer = sendRequest(requestWord(DeviceCommand::BlockData, index), kBytesPerValue * size,
                                          kTimeoutPerValueMs * size);
    qDebug() << "data size: " << answer.size();
    qDebug() << "data: " << answer << "\n-----------------";
    if (answer.isEmpty() || !checkResponse(answer))
        return {};

    // Bytes beyond the values asked for are no part of the block.
    const QVector<float> values = decodeFloats(answer.left(kBytesPerValue * size));
    for (const float value : values)
        qDebug() << value;
    qDebug() << "SIZE" << values.size() << "\n";
    return values;
}
