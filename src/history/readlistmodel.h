#pragma once

#include "history/historyfailure.h"
#include "history/readrecord.h"

#include <QAbstractTableModel>
#include <QVector>
#include <functional>

class HistoryConnection;

// The date and time of a stored read as the history shows it, in local time.
QString historyTimeText(const QDateTime &utc);

// The stored reads, newest first, fetched a page at a time as the view
// scrolls, so that a long history opens as fast as a short one.
class ReadListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TimeColumn, PortColumn, BlocksColumn, ValuesColumn, OutcomeColumn, ColumnCount };
    static constexpr int kPageSize = 100;

    // `source` gives the open store, or null when it cannot be opened.
    explicit ReadListModel(std::function<HistoryConnection *()> source, QObject *parent = nullptr);

    void setFilter(const ReadFilter &filter);
    // Lists the first page again.
    void reload();
    // The texts of the headers and the outcomes, after a change of language.
    void retranslate();

    StoredRead read(int row) const { return reads.value(row); }
    const HistoryError &lastError() const { return error; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    void failed(const HistoryError &error);

private:
    bool fetchFirstPage(QVector<StoredRead> *page);
    QString outcomeText(ReadOutcome outcome) const;

    std::function<HistoryConnection *()> source;
    ReadFilter filter;
    QVector<StoredRead> reads;
    bool exhausted = false;
    HistoryError error;
};
