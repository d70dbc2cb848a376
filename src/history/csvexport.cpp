#include "history/csvexport.h"

#include "settings/atomicfile.h"
#include "values/readingnumbers.h"

namespace {

const QByteArray kByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
const QString kLineEnd = QStringLiteral("\r\n");

// Quotes a field that holds the separator, a quote or a line break.
QString csvField(const QString &text, QChar separator)
{
    const bool quote = text.contains(separator) || text.contains(QLatin1Char('"'))
                       || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

void appendRow(QString &out, const QStringList &fields, QChar separator)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += separator;
        out += csvField(fields.at(i), separator);
    }
    out += kLineEnd;
}

} // namespace

QString csvNumber(float value, QChar decimalMark)
{
    return readingShortestText(value, decimalMark);
}

QByteArray blocksToCsv(const QVector<MemoryBlock> &blocks, const CsvFormat &format, const QStringList &header)
{
    QString out;
    appendRow(out, header, format.separator);
    for (const MemoryBlock &block : blocks) {
        const QString name = csvField(block.name, format.separator);
        for (int i = 0; i < block.values.size(); ++i) {
            out += name;
            out += format.separator;
            out += QString::number(i + 1);
            out += format.separator;
            out += csvField(csvNumber(block.values.at(i), format.decimalMark), format.separator);
            out += kLineEnd;
        }
    }
    return kByteOrderMark + out.toUtf8();
}

bool writeCsvFile(const QString &path, const QByteArray &bytes)
{
    return writeFileAtomically(path, bytes);
}
