#include "ui/capabilitytable.h"

#include "report/reporttexts.h"
#include "ui/analysischarts.h"

#include <QHeaderView>
#include <QTableWidget>

namespace {

constexpr int kMeanDecimals = 3;
constexpr int kSigmaDecimals = 4;
constexpr int kIndexDecimals = 2;
constexpr int kPpmDecimals = 1;
constexpr int kColumns = 4;

struct Row
{
    QString name;
    QString value;
    QString lower;
    QString upper;
};

Row indexRow(const QString &name, const IndexEstimate &e)
{
    return {name, analysisNumber(e.value, kIndexDecimals), analysisNumber(e.lower, kIndexDecimals),
            analysisNumber(e.upper, kIndexDecimals)};
}

} // namespace

void CapabilityTable::fill(QTableWidget *table, const ProcessCapability &c)
{
    const bool any = c.n > 0;
    QVector<Row> rows = {
        {tr("n"), QString::number(c.n), QString(), QString()},
        {tr("исключено (не числа)"), QString::number(c.excluded), QString(), QString()},
        {tr("среднее"), analysisNumber(c.mean, kMeanDecimals), QString(), QString()},
        {tr("σ внутренняя (MR̄ / 1.128)"), analysisNumber(c.sigmaWithin, kSigmaDecimals), QString(),
         QString()},
        {tr("σ общая"), analysisNumber(c.sigmaOverall, kSigmaDecimals), QString(), QString()},
        indexRow(QStringLiteral("Cp"), c.cp),
        indexRow(QStringLiteral("Cpk"), c.cpk),
        indexRow(QStringLiteral("Pp"), c.pp),
        indexRow(QStringLiteral("Ppk"), c.ppk),
        {tr("ожидаемая доля вне допуска, ppm"), analysisNumber(c.expectedPpmOutside, kPpmDecimals), QString(),
         QString()},
        {tr("наблюдаемая доля вне допуска, ppm"), analysisNumber(c.observedPpmOutside, kPpmDecimals),
         QString(), QString()},
    };
    if (any && c.smallSample)
        rows.append({tr("примечание"), tr("малая выборка (n < %1)").arg(kCapabilitySmallSample), QString(),
                     QString()});

    table->clear();
    table->setColumnCount(kColumns);
    table->setHorizontalHeaderLabels(
        {tr("Показатель"), tr("Значение"), tr("95 % ДИ, от"), tr("95 % ДИ, до")});
    table->verticalHeader()->hide();
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const Row &row = rows.at(r);
        const QString cells[kColumns] = {row.name, row.value, row.lower, row.upper};
        for (int column = 0; column < kColumns; ++column)
            table->setItem(r, column, new QTableWidgetItem(cells[column]));
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
