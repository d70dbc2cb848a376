#include "ui/valuetable.h"

#include "values/bandsplit.h"
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

// The cell compares what it shows, not the stored reading: 5.07 shown as 5.0
// is inside a band ending at 5.0.
bool shownOutOfBand(const QString &text, const TableBand &band)
{
    if (!band.on)
        return false;
    bool isNumber = false;
    const double shown = text.toDouble(&isNumber);
    return isNumber && isOutOfBand(shown, band.lower, band.upper);
}

void setRed(QTableWidgetItem *item, bool red)
{
    static const QBrush kRed(Qt::red);
    // Most cells keep their colour from one marking to the next.
    if (item->data(Qt::ForegroundRole).isValid() == red)
        return;
    item->setForeground(red ? kRed : QBrush());
}

} // namespace

void fillValueTable(QTableWidget *table, const QVector<float> &values, const TableBand &band)
{
    const int count = values.size();
    // A selection belongs to the block it was made in.
    table->clearSelection();
    table->setColumnCount(1);
    table->setRowCount(count);
    table->setHorizontalHeaderLabels({QString()});

    BulkCellChange bulk(table);
    for (int row = 0; row < count; ++row) {
        const QString text = cutValueText(values.at(row));
        const bool red = shownOutOfBand(text, band);
        QTableWidgetItem *item = table->item(row, kValueColumn);
        if (!item || item->type() != QTableWidgetItem::Type) {
            item = new QTableWidgetItem(text);
            item->setData(Qt::TextAlignmentRole, kAlignment);
            setRed(item, red);
            table->setItem(row, kValueColumn, item);
            continue;
        }
        item->setText(text);
        setRed(item, red);
    }
}

void markValueTable(QTableWidget *table, const TableBand &band)
{
    BulkCellChange bulk(table);
    const int rows = table->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (QTableWidgetItem *item = table->item(row, kValueColumn))
            setRed(item, shownOutOfBand(item->text(), band));
    }
}
