#include "device/port.h"

#include "device/systemportlister.h"
#include "device/wireformat.h"

#include <QDebug>
#include <QEventLoop>

namespace {

constexpr qint32 kBaudRate = QSerialPort::Baud57600;

constexpr int kIdentificationAnswerSize = 4;
constexpr int kIgnoredIdentificationAttempts = 3;
constexpr int kIgnoredIdentificationTimeoutMs = 700;
constexpr int kDecidingIdentificationTimeoutMs = 2000;

// Late bytes are discarded for at most this long, however many still come.
constexpr int kDiscardLimitMs = 1000;

// A wait for an answer is reported once it has lasted this long, and at each further step.
constexpr int kAwaitedReportMs = 1000;

} // namespace

Port::Port()
    : Port(systemPortLister())
{}

Port::Port(std::shared_ptr<const PortLister> ports)
    : monitor(std::move(ports))
{
    quietTimer.setSingleShot(true);
    awaitedTimer.setInterval(kAwaitedReportMs);
    connect(&awaitedTimer, &QTimer::timeout, this, [this] { emit answerAwaited(++awaitedSeconds); });
    connect(&monitor, &SerialPortMonitor::portDisconnected, this, &Port::forgetWrongPort);
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
    return exchange(command, expectedSize, timeoutMs, false);
}

QByteArray Port::exchange(quint32 command, int expectedSize, int timeoutMs, bool errorAnswerEnds)
{
    discardLateBytes();
    responseBuffer.clear();
    // Clearing a closed port only raises an error report.
    if (serial.isOpen())
        serial.clear(QSerialPort::AllDirections);
    expectedResponseSize = expectedSize;

    if (!serial.isOpen()) {
        qDebug() << "Serial port is not open.";
        lastEnd = ExchangeEnd::PortLost;
        return QByteArray();
    }

    lostSinceRequest = false;
    qDebug() << serial.write(requestFrame(command));
    // Hands the request to the driver now rather than at the loop's next turn.
    serial.flush();

    errorAnswerEndsWait = errorAnswerEnds;
    pace.restart();
    const QMetaObject::Connection reading =
        connect(&serial, &QSerialPort::readyRead, this, &Port::serialReciever);

    QTimer timer;
    timer.setSingleShot(true);
    QEventLoop loop;
    const QMetaObject::Connection completed =
        connect(this, &Port::recievedValidReponse, &loop, &QEventLoop::quit);
    const QMetaObject::Connection expired = connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const QMetaObject::Connection quiet = connect(&quietTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    awaitedSeconds = 0;
    awaitedTimer.start();

    const bool lost = waitIn(loop);
    quietTimer.stop();
    awaitedTimer.stop();
    if (awaitedSeconds > 0)
        emit answerAwaited(0);
    errorAnswerEndsWait = false;

    // A wait ended by the loss of the port counts as timed out.
    const bool complete = timer.isActive() && !lost;
    if (complete)
        qDebug() << "recieved VALID";
    else
        qDebug() << "recieved TIMEOUT";

    disconnect(completed);
    disconnect(expired);
    disconnect(quiet);
    disconnect(reading);

    lateBytesPossible = !complete || responseBuffer.size() != expectedSize;
    lastEnd = lost                                   ? ExchangeEnd::PortLost
              : isErrorAnswer(responseBuffer)        ? ExchangeEnd::ErrorAnswer
              : responseBuffer.size() < expectedSize ? ExchangeEnd::Silent
                                                     : ExchangeEnd::Answered;

    if (!deferredPorts.isEmpty())
        QTimer::singleShot(0, this, &Port::tryDeferredPorts);

    return responseBuffer;
}

bool Port::waitIn(QEventLoop &loop)
{
    // The port may have failed while the request was written.
    if (lostSinceRequest)
        return true;
    activeWait = &loop;
    waitInProgress = true;
    loop.exec();
    waitInProgress = false;
    activeWait = nullptr;
    return lostSinceRequest;
}

void Port::endWaitOnLoss()
{
    lostSinceRequest = true;
    if (activeWait)
        activeWait->quit();
}

void Port::discardLateBytes()
{
    if (!lateBytesPossible)
        return;
    lateBytesPossible = false;
    if (!serial.isOpen())
        return;

    const int quietMs = pace.quietMs();
    QElapsedTimer discarding;
    discarding.start();
    QEventLoop loop;
    const QMetaObject::Connection arriving = connect(&serial, &QSerialPort::readyRead, &loop, [&] {
        serial.readAll();
        if (discarding.elapsed() < kDiscardLimitMs)
            quietTimer.start(quietMs);
        else
            loop.quit();
    });
    const QMetaObject::Connection quiet = connect(&quietTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    serial.readAll();
    quietTimer.start(quietMs);
    lostSinceRequest = false;
    waitIn(loop);
    quietTimer.stop();
    disconnect(arriving);
    disconnect(quiet);
}

void Port::serialReciever()
{
    pace.pieceArrived();
    const QByteArray chunk = serial.readAll();
    responseBuffer += chunk;
    if (!chunk.isEmpty() && responseBuffer.size() >= expectedResponseSize)
        emit recievedValidReponse();

    // The error answer in place of a longer answer ends the wait once the
    // line stays quiet after it; a value that only looks like it is followed
    // by more bytes.
    if (errorAnswerEndsWait) {
        if (isErrorAnswer(responseBuffer))
            quietTimer.start(pace.quietMs());
        else
            quietTimer.stop();
    }
}

Port::ExchangeEnd Port::lastExchangeEnd() const
{
    return lastEnd;
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
    // Late bytes are those of an earlier exchange on this port.
    lateBytesPossible = false;
    qDebug() << "serial opened";
    // Guard: an error report since open() has reached the loss handler, which closes the port.
    if (!serial.isOpen())
        return;

    emit linkStateChanged(LinkState::Trying, portName);
    candidateGuard = connect(&serial, &QSerialPort::errorOccurred, this, &Port::abandonCandidatePort);

    // Whatever the device sent unasked is logged and dropped before the first request.
    qDebug() << "ASS: " << serial.readAll();
    const quint32 identify = requestWord(DeviceCommand::Identify);
    // The first answers are only logged: the instrument may still be waking up.
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
        wrongPorts.clear();
        emit validPortFound();
        emit linkStateChanged(LinkState::Connected, portName);
        return;
    }

    // What is left of the wrong answers goes with the port.
    if (serial.isOpen())
        serial.readAll();
    serial.close();
    qDebug() << "lame";
    wrongPorts.removeAll(portName);
    wrongPorts.append(portName);
    emit linkStateChanged(LinkState::AnsweredWrongly, portName);
}

void Port::abandonCandidatePort(QSerialPort::SerialPortError error)
{
    // A failing candidate reports its error over and over while it is open.
    if (error != QSerialPort::NoError && serial.isOpen()) {
        serial.close();
        endWaitOnLoss();
    }
}

void Port::checkIfValidPortDisconnected(QSerialPort::SerialPortError error)
{
    qDebug() << error;
    const bool wasConnected = instrumentConnected;
    if (serial.isOpen())
        serial.close();
    disarmLossHandler();
    instrumentConnected = false;
    armDetection();
    // A wait on a port that is gone ends now, with what had arrived.
    endWaitOnLoss();
    emit validPortDisconnected();
    // open() reports "no error" here before any instrument has been found.
    if (wasConnected)
        emit linkStateChanged(LinkState::Lost, serial.portName());
}

void Port::tryDeferredPorts()
{
    if (waitInProgress)
        return;
    while (!deferredPorts.isEmpty() && detection)
        checkIfPortIsValidForDataExchange(deferredPorts.takeFirst());
    deferredPorts.clear();
}

void Port::forgetWrongPort(const QString &portName)
{
    if (!wrongPorts.removeAll(portName) || instrumentConnected)
        return;
    if (wrongPorts.isEmpty())
        emit linkStateChanged(LinkState::Searching, QString());
    else
        emit linkStateChanged(LinkState::AnsweredWrongly, wrongPorts.last());
}

bool Port::canSearchAgain() const
{
    return !instrumentConnected && detection && !waitInProgress;
}

void Port::searchAgain()
{
    if (!canSearchAgain())
        return;
    emit linkStateChanged(LinkState::Searching, QString());
    const QStringList names = monitor.listedPorts();
    for (const QString &name : names) {
        if (!canSearchAgain())
            break;
        checkIfPortIsValidForDataExchange(name);
    }
}
