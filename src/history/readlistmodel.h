#pragma once

#include "history/historyfailure.h"
#include "history/readrecord.h"

#include <QAbstractTableModel>
#include <QVector>

class HistoryService;

// The date and time of a stored read as the history shows it, in local time.
QString historyTimeText(const QDateTime &utc);

// The stored reads, newest first, fetched a page at a time as the view
// scrolls, so that a long history opens as fast as a short one. Pages are
// asked of the history's worker; only the answer to the latest question counts.
class ReadListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TimeColumn, PortColumn, BlocksColumn, ValuesColumn, OutcomeColumn, ColumnCount };
    static constexpr int kPageSize = 100;

    explicit ReadListModel(HistoryService *service, QObject *parent = nullptr);

    void setFilter(const ReadFilter &filter);
    // Lists the first page again.
    void reload();
    // The texts of the headers and the outcomes, after a change of language.
    void retranslate();

    StoredRead read(int row) const { return reads.value(row); }
    const HistoryError &lastError() const { return error; }
    // A question is out and its answer not in yet.
    bool isBusy() const { return asked != 0; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // "завершено", or "завершено с ошибками: k из n" when blocks failed.
    static QString outcomeText(const StoredRead &read);

signals:
    void failed(const HistoryError &error);
    void busyChanged(bool busy);

private:
    void listed(quint64 request, const QVector<StoredRead> &page, const HistoryError &failure);

    HistoryService *service = nullptr;
    quint64 asked = 0;
    bool askedFirst = false;
    ReadFilter filter;
    QVector<StoredRead> reads;
    bool exhausted = false;
    HistoryError error;
};
