#include "ui/valuetable.h"

#include "ui/valuemarkdelegate.h"
#include "values/bandmark.h"
#include "values/valuetext.h"

#include <QSignalBlocker>
#include <QTableWidget>

namespace {

constexpr int kValueColumn = 0;
constexpr int kAlignment = Qt::AlignCenter;

// Tens of thousands of cells change at once: the model would otherwise announce
// each one to the view (and as itemChanged) one by one. Rows and columns are
// resized before this is in force, so the view only needs one repaint after.
class BulkCellChange
{
public:
    explicit BulkCellChange(QTableWidget *table)
        : table(table)
        , blocker(table->model())
    {}
    ~BulkCellChange()
    {
        blocker.unblock();
        table->viewport()->update();
    }
    BulkCellChange(const BulkCellChange &) = delete;
    BulkCellChange &operator=(const BulkCellChange &) = delete;

private:
    QTableWidget *table;
    QSignalBlocker blocker;
};

void setRed(QTableWidgetItem *item, bool red)
{
    static const QBrush kRed(Qt::red);
    // Most cells keep their colour from one marking to the next.
    if (item->data(Qt::ForegroundRole).isValid() == red)
        return;
    item->setForeground(red ? kRed : QBrush());
}

void setMark(QTableWidgetItem *item, BandMark mark)
{
    if (item->data(kBandMarkRole).toInt() != int(mark))
        item->setData(kBandMarkRole, int(mark));
}

// The colour and the mark of one cell: red while the reading is out (a
// reading that is no number has no side, only the colour).
void markCell(QTableWidgetItem *item, float value, const ToleranceBand &band)
{
    setRed(item, readingOutOfBand(value, band));
    setMark(item, readingMark(value, band));
}

} // namespace

void fillValueTable(QTableWidget *table, const QVector<float> &values, const ToleranceBand &band,
                    int chosenDecimals)
{
    const int count = values.size();
    // A selection belongs to the block it was made in.
    table->clearSelection();
    table->setColumnCount(1);
    table->setRowCount(count);
    table->setHorizontalHeaderLabels({QString()});
    if (!qobject_cast<ValueMarkDelegate *>(table->itemDelegate()))
        table->setItemDelegate(new ValueMarkDelegate(table));

    BulkCellChange bulk(table);
    for (int row = 0; row < count; ++row) {
        const QString text = cutValueText(values.at(row), chosenDecimals);
        QTableWidgetItem *item = table->item(row, kValueColumn);
        if (!item || item->type() != QTableWidgetItem::Type) {
            item = new QTableWidgetItem(text);
            item->setData(Qt::TextAlignmentRole, kAlignment);
            markCell(item, values.at(row), band);
            table->setItem(row, kValueColumn, item);
            continue;
        }
        item->setText(text);
        markCell(item, values.at(row), band);
    }
}

void markValueTable(QTableWidget *table, const QVector<float> &values, const ToleranceBand &band)
{
    BulkCellChange bulk(table);
    const int rows = qMin(table->rowCount(), values.size());
    for (int row = 0; row < rows; ++row) {
        if (QTableWidgetItem *item = table->item(row, kValueColumn))
            markCell(item, values.at(row), band);
    }
}
