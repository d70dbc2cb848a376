#include "report/xlsxrowsplice.h"

#include "report/xlsxplainrows.h"
#include "report/zipentry.h"

namespace {
// Rows made at a time: the XML in memory stays well under a megabyte.
constexpr int kRowsPerChunk = 4096;
} // namespace

XlsxRowSplice::XlsxRowSplice(int sheetNumber, const XlsxPlainRows &rows, int firstRow, int firstColumn)
    : part(QByteArrayLiteral("xl/worksheets/sheet") + QByteArray::number(sheetNumber)
           + QByteArrayLiteral(".xml"))
    , lastRowStart(QByteArrayLiteral("<row r=\"") + QByteArray::number(firstRow + rows.rowCount() - 1)
                   + QByteArrayLiteral("\""))
{
    made = std::async(std::launch::async, [rows, firstRow, firstColumn] {
        PartDeflater deflater;
        const int end = rows.rowCount() - 1;
        for (int from = 1; from < end; from += kRowsPerChunk)
            deflater.add(rows.xml(firstRow, firstColumn, from, std::min(end, from + kRowsPerChunk)));
        return deflater.finish(false);
    });
}

QByteArray XlsxRowSplice::joinedInto(const QByteArray &package)
{
    const DeflatedPart middle = made.get();
    const QByteArray sheet = zipEntry(package, part);
    const int at = sheet.indexOf(lastRowStart);
    if (!middle.ok || at < 0)
        return {};
    const DeflatedPart joined =
        joinedParts({deflatedPart(sheet.left(at), false), middle, deflatedPart(sheet.mid(at), true)});
    return withDeflatedZipEntry(package, part, joined);
}
