#include "ui/capabilitytable.h"

#include "report/analysissection.h"

#include <QHeaderView>
#include <QTableWidget>

namespace {
constexpr int kColumns = 4;
} // namespace

void CapabilityTable::fill(QTableWidget *table, const ProcessCapability &c)
{
    QVector<QStringList> rows;
    for (const AnalysisRow &row : analysisCapabilityRows(c)) {
        const auto interval = [&row](double end) {
            return row.interval ? analysisFigureText(end, row.decimals) : QString();
        };
        rows.append({row.label, analysisFigureText(row.value, row.decimals), interval(row.lower),
                     interval(row.upper)});
    }
    if (c.n > 0 && c.smallSample)
        rows.append({tr("примечание"), analysisSmallSampleNote(), QString(), QString()});

    table->clear();
    table->setColumnCount(kColumns);
    table->setHorizontalHeaderLabels(analysisCapabilityColumns());
    table->verticalHeader()->hide();
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int column = 0; column < kColumns; ++column)
            table->setItem(r, column, new QTableWidgetItem(rows[r].value(column)));
    }
    table->resizeColumnsToContents();
}

QString CapabilityTable::text(const QTableWidget *table)
{
    QString text;
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column) {
        const QTableWidgetItem *header = table->horizontalHeaderItem(column);
        cells.append(header ? header->text() : QString());
    }
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int row = 0; row < table->rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            cells.append(item ? item->text() : QString());
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}
