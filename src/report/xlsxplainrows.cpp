#include "report/xlsxplainrows.h"

#include <charconv>
#include <cmath>

namespace {
constexpr int kNumberBuffer = 32;
// Significant digits the library writes a number with (printf's %.16G).
constexpr int kNumberDigits = 16;
constexpr int kLetters = 26;

QByteArray columnName(int column)
{
    QByteArray name;
    for (int rest = column; rest > 0; rest = (rest - 1) / kLetters)
        name.prepend(char('A' + (rest - 1) % kLetters));
    return name;
}

void appendNumber(QByteArray &xml, double value)
{
    char buffer[kNumberBuffer];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + kNumberBuffer, value, std::chars_format::general, kNumberDigits);
    for (char *at = buffer; at < written.ptr; ++at)
        if (*at == 'e')
            *at = 'E';
    xml.append(buffer, int(written.ptr - buffer));
}

void appendInteger(QByteArray &xml, int value)
{
    char buffer[kNumberBuffer];
    const std::to_chars_result written = std::to_chars(buffer, buffer + kNumberBuffer, value);
    xml.append(buffer, int(written.ptr - buffer));
}

// Text as the library puts it into an inline string cell.
QByteArray inlineTextXml(const QString &text)
{
    QByteArray escaped = text.toUtf8();
    escaped.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
    const bool spaced = text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    return (spaced ? QByteArrayLiteral("<is><t xml:space=\"preserve\">") : QByteArrayLiteral("<is><t>"))
           + escaped + QByteArrayLiteral("</t></is>");
}
} // namespace

void XlsxPlainRows::addNumbers(const QVector<double> &values, const QString &textIfNotFinite)
{
    Column column;
    column.kind = Kind::Number;
    column.numbers = values;
    column.text = textIfNotFinite;
    column.textXml = inlineTextXml(textIfNotFinite);
    columns.append(column);
    rows = std::max(rows, int(values.size()));
}

void XlsxPlainRows::addFlags(const QVector<bool> &values)
{
    Column column;
    column.kind = Kind::Flag;
    column.flags = values;
    columns.append(column);
    rows = std::max(rows, int(values.size()));
}

XlsxPlainRows::Kind XlsxPlainRows::kindAt(const Column &column, int rowIndex)
{
    if (column.kind == Kind::Flag)
        return rowIndex < column.flags.size() ? Kind::Flag : Kind::None;
    if (rowIndex >= column.numbers.size())
        return Kind::None;
    // No text: no cell, as the library writes no cell for an empty string.
    return std::isfinite(column.numbers.at(rowIndex)) ? Kind::Number
           : column.text.isEmpty()                    ? Kind::None
                                                      : Kind::Text;
}

XlsxPlainRows::Cell XlsxPlainRows::cell(int rowIndex, int columnIndex) const
{
    const Column &column = columns.at(columnIndex);
    Cell cell;
    cell.kind = kindAt(column, rowIndex);
    if (cell.kind == Kind::Flag)
        cell.flag = column.flags.at(rowIndex);
    else if (cell.kind != Kind::None)
        cell.number = column.numbers.at(rowIndex);
    if (cell.kind == Kind::Text)
        cell.text = column.text;
    return cell;
}

bool XlsxPlainRows::rowIsFull(int rowIndex) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (cell(rowIndex, i).kind == Kind::None)
            return false;
    return true;
}

bool XlsxPlainRows::textsArePlain(int maxTextLength) const
{
    for (const Column &column : columns) {
        if (column.kind == Kind::Flag)
            continue;
        if (column.text.size() > maxTextLength)
            return false;
        for (const QChar character : column.text)
            if (character.unicode() < ' ')
                return false;
    }
    return true;
}

QByteArray XlsxPlainRows::xml(int firstRow, int firstColumn, int from, int to) const
{
    QVector<QByteArray> names;
    for (int i = 0; i < columns.size(); ++i)
        names.append(QByteArrayLiteral("<c r=\"") + columnName(firstColumn + i));
    QByteArray xml;
    constexpr int kBytesPerCell = 32;
    xml.reserve((to - from) * (int(columns.size()) + 1) * kBytesPerCell);
    for (int index = from; index < to; ++index) {
        const int row = firstRow + index;
        xml.append("<row r=\"");
        appendInteger(xml, row);
        xml.append("\">");
        for (int i = 0; i < columns.size(); ++i) {
            const Column &column = columns.at(i);
            const Kind kind = kindAt(column, index);
            if (kind == Kind::None)
                continue;
            xml.append(names.at(i));
            appendInteger(xml, row);
            if (kind == Kind::Flag) {
                xml.append(column.flags.at(index) ? "\" t=\"b\"><v>1</v></c>" : "\" t=\"b\"><v>0</v></c>");
            } else if (kind == Kind::Number) {
                xml.append("\"><v>");
                // + 0.0: the library is given no negative zero either.
                appendNumber(xml, column.numbers.at(index) + 0.0);
                xml.append("</v></c>");
            } else {
                xml.append("\" t=\"inlineStr\">");
                xml.append(column.textXml);
                xml.append("</c>");
            }
        }
        xml.append("</row>");
    }
    return xml;
}
