#include "history/unsavedreads.h"

#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "history/historywriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

const QString kPrefix = QStringLiteral("history-unsaved-");
const QString kSuffix = QStringLiteral(".sqlite");

} // namespace

bool keepUnsavedReads(const QString &folder, const QVector<ReadRecord> &reads)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz'Z'"));
    QString path = QStringLiteral("%1/%2%3%4").arg(folder, kPrefix, stamp, kSuffix);
    for (int n = 2; QFile::exists(path); ++n)
        path = QStringLiteral("%1/%2%3-%4%5").arg(folder, kPrefix, stamp).arg(n).arg(kSuffix);
    HistoryConnection file(path);
    if (!file.open())
        return false;
    HistoryWriter writer(file);
    for (const ReadRecord &read : reads) {
        // Marked as waiting: every read of the file is still to be stored.
        if (!writer.storeRead(read, true))
            return false;
    }
    return true;
}

QVector<ReadRecord> unsavedReads(const QString &folder, QStringList *files)
{
    QVector<ReadRecord> reads;
    const QStringList names =
        QDir(folder).entryList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString path = QDir(folder).filePath(name);
        HistoryConnection file(path);
        QVector<qint64> ids;
        if (!file.open() || !HistoryReader(file).pendingReads(&ids))
            continue; // left as it is, for a later run or for inspection
        QVector<ReadRecord> fromFile;
        bool whole = true;
        for (const qint64 id : qAsConst(ids)) {
            ReadRecord read;
            whole = whole && HistoryReader(file).loadRead(id, &read);
            fromFile.append(read);
        }
        if (!whole)
            continue;
        reads += fromFile;
        files->append(path);
    }
    return reads;
}

void removeUnsavedFiles(const QStringList &files)
{
    for (const QString &path : files) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
    }
}
