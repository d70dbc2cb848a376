#include "station/stationhistory.h"

#include "history/historyconnection.h"
#include "history/historyrecorder.h"
#include "history/historysettings.h"
#include "history/historywriter.h"
#include "history/readrecord.h"
#include "history/unsavedreads.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

namespace {

const QString kDefault = QStringLiteral("default");
const QString kNone = QStringLiteral("none");

bool isServerAddress(const QString &target)
{
    return target.startsWith(QLatin1String("postgresql://"))
           || target.startsWith(QLatin1String("postgres://"));
}

// postgresql://[user[:password]@][host][:port]/database[?host=/socket/folder]
bool serverFromAddress(const QString &address, HistoryServer *server)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        return false;
    server->host = url.host();
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("host")))
        server->host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    server->port = url.port(HistoryServer::kDefaultPort);
    server->database = url.path(QUrl::FullyDecoded).mid(1);
    server->user = url.userName(QUrl::FullyDecoded);
    server->password = url.password(QUrl::FullyDecoded);
    return !server->database.isEmpty() && !server->database.contains(QLatin1Char('/'));
}

ReadRecord recordOf(const PortReadResult &read)
{
    ReadRecord record;
    record.startedAt = read.startedAt;
    record.portName = read.portName;
    record.blockCount = read.blockCount;
    record.outcome = read.outcome == PortOutcome::Cancelled        ? ReadOutcome::Cancelled
                     : read.outcome == PortOutcome::InstrumentLost ? ReadOutcome::InstrumentLost
                                                                   : ReadOutcome::Complete;
    record.blocks = read.blocks;
    record.uid = newReadUid();
    return record;
}

// As the window: a read without a count listed nothing and is not kept.
QVector<ReadRecord> recordsOf(const QVector<PortReadResult> &reads)
{
    QVector<ReadRecord> records;
    for (const PortReadResult &read : reads)
        if (read.blockCount >= 0)
            records.append(recordOf(read));
    return records;
}

} // namespace

QString historyStateName(StationHistory::State state)
{
    switch (state) {
    case StationHistory::State::Stored:
        return QStringLiteral("stored");
    case StationHistory::State::KeptLocally:
        return QStringLiteral("kept locally");
    case StationHistory::State::Spooled:
        return QStringLiteral("spooled");
    case StationHistory::State::Lost:
        return QStringLiteral("not stored");
    case StationHistory::State::Off:
        break;
    }
    return QString();
}

StationHistory::StationHistory(const QString &target)
    : target(target)
{}

// The recorder keeps in a file of its own what it could not store, as it goes.
StationHistory::~StationHistory() = default;

bool StationHistory::checkTarget(const QString &target, QString *why)
{
    HistoryServer server;
    if (isServerAddress(target) && !serverFromAddress(target, &server)) {
        *why = QCoreApplication::translate("StationHistory", "адрес сервера истории «%1» не разобрать")
                   .arg(target);
        return false;
    }
    return true;
}

StationHistory::State StationHistory::store(const QVector<PortReadResult> &reads)
{
    // Nothing to keep (no instrument gave its count) is no store at all.
    if (target == kNone || recordsOf(reads).isEmpty())
        return State::Off;
    if (target == kDefault || isServerAddress(target))
        return storeWithRecorder(reads);
    return storeInFile(reads);
}

StationHistory::State StationHistory::storeWithRecorder(const QVector<PortReadResult> &reads)
{
    // The window's folder: its store, and the local file where a server's reads wait.
    const QString folder = configFolder();
    HistorySettings settings = loadHistorySettings(folder);
    if (isServerAddress(target)) {
        settings.backend = HistoryBackend::Postgres;
        serverFromAddress(target, &settings.server);
    }
    recorder = std::make_unique<HistoryRecorder>(folder, settings);
    bool keptLocally = false;
    QObject::connect(recorder.get(), &HistoryRecorder::keptLocally, recorder.get(),
                     [&keptLocally] { keptLocally = true; });
    for (const ReadRecord &record : recordsOf(reads))
        recorder->recordRead(record);
    recorder->storeWaiting();
    failure = recorder->lastError().text;
    const bool unsaved = recorder->unsavedCount() > 0;
    // What is still in memory goes into a file of unsaved reads now.
    recorder.reset();
    if (unsaved)
        return State::Spooled;
    if (keptLocally)
        return State::KeptLocally;
    failure.clear();
    return State::Stored;
}

StationHistory::State StationHistory::storeInFile(const QVector<PortReadResult> &reads)
{
    const QVector<ReadRecord> records = recordsOf(reads);
    if (records.isEmpty())
        return State::Stored;
    const QString path = QFileInfo(target).absoluteFilePath();
    {
        HistoryConnection connection(path);
        bool stored = connection.open();
        for (const ReadRecord &record : records)
            stored = stored && HistoryWriter(connection).storeRead(record);
        if (stored)
            return State::Stored;
        failure = connection.lastError().text;
    }
    // Beside the file when its folder takes it; else where the window's next run takes it in.
    if (keepUnsavedReads(QFileInfo(path).absolutePath(), records)
        || keepUnsavedReads(configFolder(), records))
        return State::Spooled;
    return State::Lost;
}
