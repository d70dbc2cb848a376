#include "instrumentsimulator.h"

#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kRequestSize = 4;
constexpr int kReadChunk = 4096;
constexpr qint64 kNsPerSecond = 1000000000;
constexpr qint64 kNsPerMs = 1000000;

void makeRaw(int fd)
{
    termios settings;
    if (::tcgetattr(fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(fd, TCSANOW, &settings);
    }
}

} // namespace

InstrumentSimulator::InstrumentSimulator(QObject *parent)
    : QObject(parent)
{
    transmitTimerFd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (transmitTimerFd >= 0) {
        transmitNotifier = new QSocketNotifier(transmitTimerFd, QSocketNotifier::Read, this);
        connect(transmitNotifier, &QSocketNotifier::activated, this,
                &InstrumentSimulator::transmitTimerExpired);
    }
    clock.start();
}

InstrumentSimulator::~InstrumentSimulator()
{
    unplug();
    delete transmitNotifier;
    if (transmitTimerFd >= 0)
        ::close(transmitTimerFd);
}

void InstrumentSimulator::setBlocks(const QVector<SimulatedBlock> &blocks)
{
    model.setBlocks(blocks);
}

const QVector<SimulatedBlock> &InstrumentSimulator::blocks() const
{
    return model.blocks();
}

void InstrumentSimulator::setBehaviour(const InstrumentBehaviour &behaviour)
{
    model.setBehaviour(behaviour);
}

const InstrumentBehaviour &InstrumentSimulator::behaviour() const
{
    return model.behaviour();
}

void InstrumentSimulator::setLinkPath(const QString &path)
{
    link = path;
}

bool InstrumentSimulator::isPluggedIn() const
{
    return masterFd >= 0;
}

QString InstrumentSimulator::portPath() const
{
    if (!isPluggedIn())
        return QString();
    return link.isEmpty() ? slavePath : link;
}

QString InstrumentSimulator::devicePath() const
{
    return isPluggedIn() ? slavePath : QString();
}

void InstrumentSimulator::clearRecords()
{
    received.clear();
    requestWords.clear();
    sentTotal = 0;
}

bool InstrumentSimulator::plugIn(QString *error)
{
    if (isPluggedIn())
        return true;

    char name[256] = {};
    if (::openpty(&masterFd, &slaveFd, name, nullptr, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        masterFd = slaveFd = -1;
        return false;
    }
    makeRaw(masterFd);
    makeRaw(slaveFd);
    // The simulator keeps its own handle on the device side: without one the
    // pseudo-terminal hangs up whenever the program closes its port.
    ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    ::fcntl(masterFd, F_SETFD, FD_CLOEXEC);
    ::fcntl(slaveFd, F_SETFD, FD_CLOEXEC);
    slavePath = QString::fromLocal8Bit(name);

    if (!link.isEmpty()) {
        QFile::remove(link);
        if (!QFile::link(slavePath, link)) {
            if (error)
                *error = QStringLiteral("cannot create the link %1").arg(link);
            unplug();
            return false;
        }
    }

    model.restartCounting();
    pendingRequest.clear();
    outgoing.clear();
    dueNs.clear();
    nextToSend = 0;

    readNotifier = new QSocketNotifier(masterFd, QSocketNotifier::Read, this);
    connect(readNotifier, &QSocketNotifier::activated, this, &InstrumentSimulator::readRequests);
    writeNotifier = new QSocketNotifier(masterFd, QSocketNotifier::Write, this);
    writeNotifier->setEnabled(false);
    connect(writeNotifier, &QSocketNotifier::activated, this, &InstrumentSimulator::transmitDue);

    emit pluggedIn(portPath());
    return true;
}

void InstrumentSimulator::unplug()
{
    if (!isPluggedIn())
        return;
    armTimer(0);
    for (QSocketNotifier *notifier : {readNotifier.data(), writeNotifier.data()}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    readNotifier.clear();
    writeNotifier.clear();
    ::close(masterFd);
    ::close(slaveFd);
    masterFd = slaveFd = -1;
    if (!link.isEmpty())
        QFile::remove(link);
    outgoing.clear();
    dueNs.clear();
    nextToSend = 0;
    emit unplugged();
}

void InstrumentSimulator::readRequests()
{
    const qint64 arrivalNs = clock.nsecsElapsed();
    char buffer[kReadChunk];
    const ssize_t count = ::read(masterFd, buffer, sizeof buffer);
    if (count <= 0)
        return;
    received.append(buffer, int(count));
    pendingRequest.append(buffer, int(count));
    while (isPluggedIn() && pendingRequest.size() >= kRequestSize) {
        const quint32 word = qFromLittleEndian<quint32>(pendingRequest.constData());
        pendingRequest.remove(0, kRequestSize);
        requestWords.append(word);
        emit requestReceived(word);
        if (!isPluggedIn())
            return;
        if (model.unplugsOn()) {
            unplug();
            return;
        }
        const std::optional<QByteArray> answer = model.answer(word);
        if (answer)
            queueAnswer(*answer, InstrumentModel::commandOf(word), arrivalNs);
    }
}

void InstrumentSimulator::queueAnswer(const QByteArray &answer, int code, qint64 arrivalNs)
{
    const InstrumentBehaviour &behaviour = model.behaviour();
    qint64 startNs = arrivalNs;
    if (behaviour.finishesAnswers && nextToSend < outgoing.size()) {
        // The rest of the previous answer goes out first.
        outgoing = outgoing.mid(nextToSend);
        dueNs = dueNs.mid(nextToSend);
        startNs = qMax(arrivalNs, dueNs.last());
    } else {
        // A new request abandons whatever is left of the previous answer.
        outgoing.clear();
        dueNs.clear();
    }
    nextToSend = 0;
    const int first = outgoing.size();
    outgoing += answer;
    dueNs.resize(outgoing.size());

    const qint64 rate = behaviour.bytesPerSecond;
    const bool chunked = behaviour.chunks.appliesTo(code);
    const int chunkSize = qMax(1, behaviour.chunkSize);
    const qint64 chunkGapNs = qMax(1, behaviour.chunkGapMs) * kNsPerMs;
    for (int i = 0; i < answer.size(); ++i) {
        // Paced: the request's own bytes, then each answer byte, take their
        // time on the wire.
        qint64 due = rate > 0 ? startNs + (kRequestSize + i + 1) * kNsPerSecond / rate : startNs;
        if (chunked)
            due = qMax(due, startNs + (i / chunkSize) * chunkGapNs);
        dueNs[first + i] = due;
    }
    armTransmission();
}

void InstrumentSimulator::transmitDue()
{
    if (!isPluggedIn())
        return;
    const qint64 now = clock.nsecsElapsed();
    int end = nextToSend;
    while (end < outgoing.size() && dueNs.at(end) <= now)
        ++end;
    bool blocked = false;
    while (nextToSend < end) {
        const ssize_t written =
            ::write(masterFd, outgoing.constData() + nextToSend, size_t(end - nextToSend));
        if (written <= 0) {
            blocked = true;
            break;
        }
        nextToSend += int(written);
        sentTotal += written;
    }
    if (writeNotifier)
        writeNotifier->setEnabled(blocked);
    if (!blocked)
        armTransmission();
}

void InstrumentSimulator::armTransmission()
{
    if (nextToSend >= outgoing.size()) {
        armTimer(0);
        return;
    }
    const qint64 wait = dueNs.at(nextToSend) - clock.nsecsElapsed();
    if (wait <= 0) {
        transmitDue();
        return;
    }
    armTimer(wait);
}

void InstrumentSimulator::armTimer(qint64 waitNs)
{
    if (transmitTimerFd < 0)
        return;
    itimerspec due = {};
    due.it_value.tv_sec = time_t(waitNs / kNsPerSecond);
    due.it_value.tv_nsec = long(waitNs % kNsPerSecond);
    // A zero time disarms the timer.
    ::timerfd_settime(transmitTimerFd, 0, &due, nullptr);
}

void InstrumentSimulator::transmitTimerExpired()
{
    quint64 expirations = 0;
    if (::read(transmitTimerFd, &expirations, sizeof expirations) < 0 && errno != EAGAIN)
        return;
    transmitDue();
}
