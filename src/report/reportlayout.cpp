#include "report/reportlayout.h"

#include "report/documentprinting.h"
#include "report/pdfdocument.h"
#include "report/reportdata.h"
#include "report/valuetablecells.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextTable>
#include <cmath>

namespace {

// Rows of the value table laid out in advance to find where its pages break.
constexpr int kProbeRows = 240;
// A text measured at least this part of its line's width is left to the
// document to lay out, so that the document alone decides whether it wraps.
constexpr qreal kSafeLineShare = 0.9;
// Rows at the top of a page lie where the template's first row lies; a row
// after the rest of a wrapped row lies a line lower.
constexpr qreal kSamePlace = 1.0;

LaidOutReport layOutReport(QPdfWriter &writer, int pageWidth, const ReportData &data,
                           const ValueTablePages &pages, const FilledValueRows &filled)
{
    LaidOutReport report;
    report.document = std::make_unique<QTextDocument>();
    report.pages = pages;
    setUpReportDocument(*report.document);
    prepareDocumentForPrinting(*report.document, writer);
    report.valueTable = buildReportDocument(*report.document, pageWidth, data, pages, filled);
    return report;
}

// Rows of the whole table with a text that may not fit on one line of its
// cell (a reading of 3e38 has 39 digits). They are laid out by the document,
// taller where they wrap.
QVector<int> wideValueRows(const QTextDocument &document, const ValueTableCells &cells,
                           const ReportData &data)
{
    QVector<int> wide;
    const QFontMetricsF metrics(document.defaultFont(), document.documentLayout()->paintDevice());
    // Texts no longer than this fit whatever their characters.
    std::array<int, ValueTableCells::kColumns> surelyFitting;
    for (int c = 0; c < ValueTableCells::kColumns; ++c)
        surelyFitting[size_t(c)] = int(cells.lineWidth(c) * kSafeLineShare / metrics.maxWidth());
    for (int row = 1; row <= data.content.values.size(); ++row) {
        const ValueTableCells::RowTexts texts = valueRowTexts(data, row);
        for (int c = 0; c < ValueTableCells::kColumns; ++c) {
            const QString &text = texts[size_t(c)];
            if (text.size() > surelyFitting[size_t(c)]
                && metrics.horizontalAdvance(text) >= cells.lineWidth(c) * kSafeLineShare) {
                wide.append(row);
                break;
            }
        }
    }
    return wide;
}

// The value table's pages as the start of the document lays them out with
// every row one line high, and its wide rows.
struct TableProbe
{
    int firstBreak = 0; // 0: the table is too short to plan
    int rowsPerPage = 0;
    qreal topOnPage = 0; // of the first row of a page
    QVector<int> wideRows;
};

TableProbe probeValueTable(QPdfWriter &writer, int pageWidth, const ReportData &data)
{
    TableProbe result;
    const int totalRows = data.content.values.size() + 1;
    if (totalRows <= kProbeRows)
        return result;
    ReportData probeData = data;
    probeData.content.values.resize(kProbeRows - 1);
    probeData.plots.clear();
    probeData.analysis = {}; // after the table: the probe need not draw it
    const LaidOutReport probe = layOutReport(writer, pageWidth, probeData, {}, {});
    const ValueTableCells cells(*probe.document, probe.valueTable);
    QVector<int> breaks;
    for (int r = 2; r < kProbeRows; ++r)
        if (cells.pageOfRow(r) != cells.pageOfRow(r - 1))
            breaks.append(r);
    if (breaks.size() < 2)
        return result;
    result.firstBreak = breaks.at(0);
    result.rowsPerPage = breaks.at(1) - breaks.at(0);
    result.topOnPage = cells.topOnPage(result.firstBreak);
    result.wideRows = wideValueRows(*probe.document, cells, data);
    return result;
}

// Rows of the whole table that start a page at its top, where the document
// lays out the first tableRows rows of the table as the plan holds them.
QVector<int> pageTopRows(QPdfWriter &writer, int pageWidth, const ReportData &data, const TableProbe &table,
                         const ValueTablePages &plan, int tableRows)
{
    ReportData probeData = data;
    probeData.content.values.resize(tableRows - 1);
    probeData.plots.clear();
    probeData.analysis = {}; // after the table: the probe need not draw it
    const QSet<int> wide(table.wideRows.cbegin(), table.wideRows.cend());
    const LaidOutReport probe = layOutReport(writer, pageWidth, probeData, plan, {false, wide});
    const ValueTableCells cells(*probe.document, probe.valueTable);
    QVector<int> tops;
    for (int r = 2; r < plan.documentRows(tableRows); ++r)
        if (cells.pageOfRow(r) != cells.pageOfRow(r - 1)
            && std::abs(cells.topOnPage(r) - table.topOnPage) < kSamePlace)
            tops.append(plan.tableRow(r));
    return tops;
}

} // namespace

LaidOutReport layOutWholeReport(QPdfWriter &writer, int pageWidth, const ReportData &data)
{
    return layOutReport(writer, pageWidth, data, {}, {true, {}});
}

LaidOutReport layOutReportQuickly(QPdfWriter &writer, int pageWidth, const ReportData &data)
{
    const TableProbe table = probeValueTable(writer, pageWidth, data);
    if (table.firstBreak == 0)
        return layOutWholeReport(writer, pageWidth, data);
    const PageTopRows tops = [&](const ValueTablePages &plan, int tableRows) {
        return pageTopRows(writer, pageWidth, data, table, plan, tableRows);
    };
    const ValueTablePages pages = planValueTablePages(data.content.values.size() + 1, table.firstBreak,
                                                      table.rowsPerPage, table.wideRows, tops);
    return layOutReport(writer, pageWidth, data, pages,
                        {false, {table.wideRows.cbegin(), table.wideRows.cend()}});
}
