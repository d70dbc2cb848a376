#pragma once

#include "device/answerpace.h"
#include "device/blockvalues.h"
#include "device/portlister.h"
#include "device/serialportmonitor.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <memory>

class QEventLoop;

// The link to the instrument: detection on newly seen ports, the request
// primitive and the block commands.
class Port : public QObject
{
    Q_OBJECT

public:
    // What the link is doing, for the operator's status line.
    enum class LinkState {
        Searching,       // detection armed, no port being tried
        Trying,          // the handshake runs on a port
        Connected,       // the instrument answered on a port
        AnsweredWrongly, // a port did not identify as the instrument
        Lost,            // the instrument's port failed or vanished
    };
    Q_ENUM(LinkState)

    // How the last exchange ended: a silent instrument and one that answered
    // with its error answer are told apart from a port that was lost.
    enum class ExchangeEnd {
        Answered,    // as many bytes as asked for, no error answer
        ErrorAnswer, // the instrument's error answer
        Silent,      // the time ran out with no answer or a short one
        PortLost,    // the port was lost, or was not open to send on
    };
    Q_ENUM(ExchangeEnd)

    // Watches the system's serial ports.
    Port();
    explicit Port(std::shared_ptr<const PortLister> ports);
    ~Port() override;

    QByteArray sendRequest(quint32 command, int expectedSize, int timeoutMs);
    bool checkResponse(const QByteArray &answer);
    ExchangeEnd lastExchangeEnd() const;

    int getBlocksAmount();
    QByteArray getBlockName(unsigned index);
    int getBlockSize(unsigned index);
    QVector<float> getBlockData(unsigned index);

    // getBlockData as its two exchanges, for a reader that may stop between
    // them and wants to know what failed: the size (with getBlockData's first
    // log lines), then the values of that size.
    int getBlockDataSize(unsigned index);
    BlockValues getBlockDataValues(unsigned index, int size);

    // True from a successful handshake until the instrument is lost.
    bool isInstrumentConnected() const;
    QString instrumentPortName() const;

    // Runs the handshake again on every listed port, in order, until one
    // identifies as the instrument. Does nothing while an instrument is
    // connected or an exchange is waiting.
    void searchAgain();
    bool canSearchAgain() const;

signals:
    void validPortFound();
    void validPortDisconnected();
    void recievedValidReponse();
    void linkStateChanged(Port::LinkState state, const QString &portName);
    // An answer has been awaited this many whole seconds; 0: the wait ended
    // after at least one such report.
    void answerAwaited(int seconds);

private slots:
    void checkIfPortIsValidForDataExchange(QString portName);
    void checkIfValidPortDisconnected(QSerialPort::SerialPortError error);
    void serialReciever();

private:
    QByteArray exchange(quint32 command, int expectedSize, int timeoutMs, bool errorAnswerEnds);
    bool waitIn(QEventLoop &loop);
    void endWaitOnLoss();
    void discardLateBytes();
    void applyLineSettings();
    void armDetection();
    void disarmDetection();
    void armLossHandler();
    void disarmLossHandler();
    void abandonCandidatePort(QSerialPort::SerialPortError error);
    void tryDeferredPorts();
    void forgetWrongPort(const QString &portName);

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
    // Ports that answered the handshake wrongly and are still listed.
    QStringList wrongPorts;

    // The wait in progress, ended early when the port is lost.
    QEventLoop *activeWait = nullptr;
    bool lostSinceRequest = false;
    // Ends a wait once the line has been quiet long enough.
    QTimer quietTimer;
    bool errorAnswerEndsWait = false;
    // The last exchange did not end cleanly: more of its answer may follow.
    bool lateBytesPossible = false;
    AnswerPace pace;
    ExchangeEnd lastEnd = ExchangeEnd::Answered;
    // Counts the seconds of a long wait for the status line.
    QTimer awaitedTimer;
    int awaitedSeconds = 0;
};
