#include "history/readlistmodel.h"

#include "history/historyservice.h"
#include "history/historyworker.h"

namespace {

const QString kTimeFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

} // namespace

QString historyTimeText(const QDateTime &utc)
{
    return utc.toLocalTime().toString(kTimeFormat);
}

ReadListModel::ReadListModel(HistoryService *service, QObject *parent)
    : QAbstractTableModel(parent)
    , service(service)
{
    connect(service->worker(), &HistoryWorker::readsListed, this, &ReadListModel::listed);
}

void ReadListModel::setFilter(const ReadFilter &newFilter)
{
    filter = newFilter;
    reload();
}

void ReadListModel::reload()
{
    // An earlier question's answer, still on its way, no longer counts.
    asked = service->listReads(filter, StoredRead(), kPageSize);
    askedFirst = true;
    emit busyChanged(true);
}

void ReadListModel::listed(quint64 request, const QVector<StoredRead> &page, const HistoryError &failure)
{
    if (request != asked)
        return;
    asked = 0;
    error = failure;
    if (askedFirst) {
        beginResetModel();
        reads = failure.isError() ? QVector<StoredRead>() : page;
        exhausted = failure.isError() || page.size() < kPageSize;
        endResetModel();
    } else {
        exhausted = failure.isError() || page.size() < kPageSize;
        if (!failure.isError() && !page.isEmpty()) {
            beginInsertRows(QModelIndex(), reads.size(), reads.size() + page.size() - 1);
            reads += page;
            endInsertRows();
        }
    }
    emit busyChanged(false);
    if (failure.isError())
        emit failed(error);
}

void ReadListModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!reads.isEmpty())
        emit dataChanged(index(0, OutcomeColumn), index(reads.size() - 1, OutcomeColumn), {Qt::DisplayRole});
}

int ReadListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : reads.size();
}

int ReadListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReadListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= reads.size())
        return QVariant();
    const StoredRead &read = reads.at(index.row());
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == BlocksColumn || index.column() == ValuesColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case TimeColumn:
        return historyTimeText(read.startedAt);
    case PortColumn:
        return read.portName;
    case BlocksColumn:
        return read.storedBlocks;
    case ValuesColumn:
        return read.valueCount;
    case OutcomeColumn:
        return outcomeText(read);
    default:
        return QVariant();
    }
}

QVariant ReadListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TimeColumn:
        return tr("Дата и время");
    case PortColumn:
        return tr("Порт");
    case BlocksColumn:
        return tr("Блоков");
    case ValuesColumn:
        return tr("Значений");
    case OutcomeColumn:
        return tr("Чтение");
    default:
        return QVariant();
    }
}

QString ReadListModel::outcomeText(const StoredRead &read)
{
    switch (read.outcome) {
    case ReadOutcome::Complete:
        if (read.failedBlocks > 0)
            return tr("завершено с ошибками: %1 из %2")
                .arg(read.failedBlocks)
                .arg(qMax(read.blockCount, read.storedBlocks));
        return tr("завершено");
    case ReadOutcome::Cancelled:
        return tr("отменено");
    case ReadOutcome::InstrumentLost:
        return tr("прервано: прибор отключён");
    }
    return QString();
}

bool ReadListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !exhausted && asked == 0 && !reads.isEmpty();
}

void ReadListModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    asked = service->listReads(filter, reads.last(), kPageSize);
    askedFirst = false;
    emit busyChanged(true);
}
