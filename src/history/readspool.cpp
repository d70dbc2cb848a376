#include "history/readspool.h"

#include "history/storagecodes.h"
#include "history/valuebytes.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kSuffix = QStringLiteral(".zrvread");
constexpr quint32 kMagic = 0x5a525652; // "ZRVR"
constexpr quint32 kFormat = 1;

bool validUid(const QString &uid)
{
    // A uid names a file: nothing that could leave the folder.
    return !uid.isEmpty() && !uid.contains(QLatin1Char('/')) && !uid.contains(QLatin1Char('\\'))
           && !uid.startsWith(QLatin1Char('.'));
}

} // namespace

ReadSpool::ReadSpool(const QString &folder)
    : where(folder)
{}

QString ReadSpool::defaultFolder()
{
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!state.isEmpty() && QDir::isAbsolutePath(state))
        return QDir(state).filePath(QStringLiteral("zrv/spool"));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .filePath(QStringLiteral("spool"));
}

QString ReadSpool::pathOf(const QString &uid) const
{
    return QDir(where).filePath(uid + kSuffix);
}

bool ReadSpool::keep(const ReadRecord &read) const
{
    if (!validUid(read.uid) || !QDir().mkpath(where))
        return false;
    QSaveFile file(pathOf(read.uid));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_5_15);
    out << kMagic << kFormat << read.uid << read.startedAt << read.portName << qint32(read.blockCount)
        << qint32(outcomeCode(read.outcome)) << qint32(read.blocks.size());
    for (const MemoryBlock &block : read.blocks)
        out << block.name << valuesToBytes(block.values) << qint32(block.expectedSize)
            << qint32(faultCode(block.fault)) << block.readAt;
    return out.status() == QDataStream::Ok && file.commit();
}

void ReadSpool::remove(const QString &uid) const
{
    if (validUid(uid))
        QFile::remove(pathOf(uid));
}

bool ReadSpool::holds(const QString &uid) const
{
    return validUid(uid) && QFile::exists(pathOf(uid));
}

QVector<ReadRecord> ReadSpool::reads() const
{
    QVector<ReadRecord> reads;
    const QStringList names = QDir(where).entryList({QLatin1Char('*') + kSuffix}, QDir::Files);
    for (const QString &name : names) {
        QFile file(QDir(where).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QDataStream in(&file);
        in.setVersion(QDataStream::Qt_5_15);
        quint32 magic = 0;
        quint32 format = 0;
        qint32 count = 0;
        qint32 outcome = 0;
        qint32 blocks = 0;
        ReadRecord read;
        in >> magic >> format;
        if (magic != kMagic || format != kFormat)
            continue;
        in >> read.uid >> read.startedAt >> read.portName >> count >> outcome >> blocks;
        read.blockCount = count;
        read.outcome = outcomeFromCode(outcome);
        bool whole = in.status() == QDataStream::Ok && blocks >= 0;
        for (qint32 i = 0; whole && i < blocks; ++i) {
            MemoryBlock block;
            QByteArray values;
            qint32 expected = 0;
            qint32 fault = 0;
            in >> block.name >> values >> expected >> fault >> block.readAt;
            block.expectedSize = expected;
            block.fault = faultFromCode(fault);
            whole = in.status() == QDataStream::Ok && valuesFromBytes(values, &block.values);
            read.blocks.append(block);
        }
        if (whole && name == read.uid + kSuffix)
            reads.append(read);
    }
    std::stable_sort(reads.begin(), reads.end(),
                     [](const ReadRecord &a, const ReadRecord &b) { return a.startedAt < b.startedAt; });
    return reads;
}

int ReadSpool::count() const
{
    return QDir(where).entryList({QLatin1Char('*') + kSuffix}, QDir::Files).size();
}
