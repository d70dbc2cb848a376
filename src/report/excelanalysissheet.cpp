#include "report/excelanalysissheet.h"

#include "report/analysissection.h"
#include "report/excellayout.h"
#include "report/reporttexts.h"
#include "report/xlsxdocument.h"

#include <QHash>

namespace {

const QString kFontName = QStringLiteral("Times New Roman");
constexpr double kFontSize = 11.0;
constexpr int kHeadingRow = 1;
constexpr int kTableHeadingRow = 3;
constexpr int kColumnA = 1;
constexpr int kValueColumn = 2;
constexpr int kLowerColumn = 3;
constexpr int kUpperColumn = 4;
constexpr int kColumns = 4;
// About the charts' width together: the sheet prints one page wide.
constexpr double kLabelWidth = 38.0;
constexpr double kNumberWidth = 12.0;

class Formats
{
public:
    explicit Formats(XlsxDocument &document)
        : document(document)
    {
        XlsxFormatSpec spec = base();
        spec.bold = true;
        bold = document.addFormat(spec);
        spec = base();
        spec.thinBorder = true;
        label = document.addFormat(spec);
        spec.bold = true;
        spec.horizontal = XlsxFormatSpec::Align::Center;
        header = document.addFormat(spec);
        text = document.addFormat(base());
    }

    // A bordered number cell showing the decimals given; the cell keeps the number unrounded.
    lxw_format *number(int decimals)
    {
        auto found = numbers.constFind(decimals);
        if (found != numbers.constEnd())
            return found.value();
        XlsxFormatSpec spec = base();
        spec.thinBorder = true;
        spec.horizontal = XlsxFormatSpec::Align::Center;
        spec.numberFormat =
            decimals > 0 ? QStringLiteral("0.") + QString(decimals, QLatin1Char('0')) : QStringLiteral("0");
        lxw_format *format = document.addFormat(spec);
        numbers.insert(decimals, format);
        return format;
    }

    lxw_format *bold = nullptr;
    lxw_format *label = nullptr;
    lxw_format *header = nullptr;
    lxw_format *text = nullptr;

private:
    static XlsxFormatSpec base()
    {
        XlsxFormatSpec spec;
        spec.fontName = kFontName;
        spec.fontSize = kFontSize;
        return spec;
    }

    XlsxDocument &document;
    QHash<int, lxw_format *> numbers;
};

// Returns the row below the table.
int writeTable(XlsxDocument &document, Formats &formats, const AnalysisSection &section)
{
    document.writeString(kTableHeadingRow, kColumnA, section.tableHeading, formats.bold);
    const int headerRow = kTableHeadingRow + 1;
    for (int column = 0; column < kColumns; ++column)
        document.writeString(headerRow, kColumnA + column, section.columns.value(column), formats.header);
    int row = headerRow + 1;
    for (const AnalysisRow &figure : section.rows) {
        lxw_format *number = formats.number(figure.decimals);
        document.writeString(row, kColumnA, figure.label, formats.label);
        document.writeNumber(row, kValueColumn, figure.value, number, kNoNumberText);
        if (figure.interval) {
            document.writeNumber(row, kLowerColumn, figure.lower, number, kNoNumberText);
            document.writeNumber(row, kUpperColumn, figure.upper, number, kNoNumberText);
        } else {
            document.writeString(row, kLowerColumn, QString(), number);
            document.writeString(row, kUpperColumn, QString(), number);
        }
        ++row;
    }
    return row;
}

} // namespace

void writeAnalysisSheet(XlsxDocument &document, const AnalysisSection &section, const QString &header,
                        const QString &footer)
{
    if (!section.included)
        return;
    document.addSheet(section.sheetName);
    Formats formats(document);
    document.setColumnWidth(kColumnA, kColumnA, kLabelWidth);
    document.setColumnWidth(kValueColumn, kUpperColumn, kNumberWidth);
    document.writeString(kHeadingRow, kColumnA, section.heading, formats.bold);

    int row = writeTable(document, formats, section);
    if (!section.note.isEmpty())
        document.writeString(row++, kColumnA, section.note, formats.text);
    ++row;
    document.writeString(row++, kColumnA, section.rulesHeading, formats.bold);
    for (const QString &rule : section.rules)
        document.writeString(row++, kColumnA, rule, formats.text);

    // Each chart under its caption, a free row above; a page ends before a chart it would cut.
    QVector<int> pageEnds;
    int pageStart = kHeadingRow;
    for (const AnalysisChart &chart : section.charts) {
        if (chart.image.isNull())
            continue;
        const int caption = row + 1;
        const int last = caption + excelImageRows(chart.image.height());
        if (last >= pageStart + kExcelPageRows && row > pageStart) {
            pageEnds.append(row);
            pageStart = row + 1;
        }
        document.writeString(caption, kColumnA, chart.caption, formats.bold);
        document.insertImage(caption + 1, kColumnA, chart.image);
        row = last;
    }
    document.setHeaderAndFooter(header, footer);
    document.setUpPrinting(row, kColumns, pageEnds);
}
