#include "history/readlistmodel.h"

#include "history/historyconnection.h"
#include "history/historyreader.h"

namespace {

const QString kTimeFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

} // namespace

QString historyTimeText(const QDateTime &utc)
{
    return utc.toLocalTime().toString(kTimeFormat);
}

ReadListModel::ReadListModel(std::function<HistoryConnection *()> source, QObject *parent)
    : QAbstractTableModel(parent)
    , source(std::move(source))
{}

void ReadListModel::setFilter(const ReadFilter &newFilter)
{
    filter = newFilter;
    reload();
}

void ReadListModel::reload()
{
    QVector<StoredRead> page;
    const bool fetched = fetchFirstPage(&page);
    beginResetModel();
    reads = page;
    exhausted = !fetched || page.size() < kPageSize;
    endResetModel();
    if (!fetched)
        emit failed(error);
}

void ReadListModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!reads.isEmpty())
        emit dataChanged(index(0, OutcomeColumn), index(reads.size() - 1, OutcomeColumn), {Qt::DisplayRole});
}

bool ReadListModel::fetchFirstPage(QVector<StoredRead> *page)
{
    HistoryConnection *connection = source();
    if (!connection) {
        error = {HistoryFailure::Unreachable, QString()};
        return false;
    }
    if (!HistoryReader(*connection).listReads(filter, nullptr, kPageSize, page)) {
        error = connection->lastError();
        return false;
    }
    error = HistoryError();
    return true;
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
        return outcomeText(read.outcome);
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

QString ReadListModel::outcomeText(ReadOutcome outcome) const
{
    switch (outcome) {
    case ReadOutcome::Complete:
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
    return !parent.isValid() && !exhausted;
}

void ReadListModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || exhausted)
        return;
    HistoryConnection *connection = source();
    QVector<StoredRead> page;
    if (!connection || reads.isEmpty()
        || !HistoryReader(*connection).listReads(filter, &reads.last(), kPageSize, &page)) {
        exhausted = true;
        error = connection ? connection->lastError() : HistoryError{HistoryFailure::Unreachable, QString()};
        emit failed(error);
        return;
    }
    exhausted = page.size() < kPageSize;
    if (page.isEmpty())
        return;
    beginInsertRows(QModelIndex(), reads.size(), reads.size() + page.size() - 1);
    reads += page;
    endInsertRows();
}
