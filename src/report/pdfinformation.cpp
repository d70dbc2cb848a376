#include "report/pdfinformation.h"

#include <QRegularExpression>

namespace {

const QString kXmpDate = QStringLiteral("yyyy-MM-ddThh:mm:ssZ");
const QString kPdfDate = QStringLiteral("yyyyMMddhhmmss");
constexpr int kXrefEntrySize = 20; // "oooooooooo ggggg n \n"
constexpr int kOffsetDigits = 10;
constexpr int kDecimal = 10;

QString xmlText(const QString &text)
{
    return text.toHtmlEscaped();
}

// A PDF text string: UTF-16 big-endian with its byte order mark, in hex.
QByteArray pdfText(const QString &text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

QByteArray informationObject(int number, const PdfInformation &information)
{
    QByteArray object = QByteArray::number(number) + " 0 obj\n<<\n";
    object += "/Title " + pdfText(information.title) + '\n';
    if (!information.author.isEmpty())
        object += "/Author " + pdfText(information.author) + '\n';
    if (!information.subject.isEmpty())
        object += "/Subject " + pdfText(information.subject) + '\n';
    object += "/Creator " + pdfText(information.creator) + '\n';
    object += "/Producer " + pdfText(information.producer) + '\n';
    object += "/CreationDate (D:" + information.created.toString(kPdfDate).toLatin1() + "Z)\n";
    object += ">>\nendobj\n";
    return object;
}

// Adds delta to every offset in the cross-reference table that lies beyond
// `after`, and to the table's own offset; false when the table is not where
// and as expected.
bool moveCrossReferences(QByteArray &pdf, int after, int delta)
{
    const int table = pdf.lastIndexOf("\nxref\n");
    if (table < 0)
        return false;
    const int countLine = table + int(qstrlen("\nxref\n"));
    const int countEnd = pdf.indexOf('\n', countLine);
    const QList<QByteArray> range = pdf.mid(countLine, countEnd - countLine).split(' ');
    bool ok = false;
    const int count = range.value(1).trimmed().toInt(&ok);
    if (countEnd < 0 || range.value(0) != "0" || !ok)
        return false;
    const int entries = countEnd + 1;
    if (entries + count * kXrefEntrySize > pdf.size())
        return false;
    for (int i = 0; i < count; ++i) {
        const int at = entries + i * kXrefEntrySize;
        const int offset = pdf.mid(at, kOffsetDigits).toInt(&ok, kDecimal);
        if (!ok)
            return false;
        if (offset > after)
            pdf.replace(at, kOffsetDigits, QByteArray::number(offset + delta).rightJustified(kOffsetDigits, '0'));
    }

    const int startLine = pdf.lastIndexOf("startxref\n");
    if (startLine < 0)
        return false;
    const int numberAt = startLine + int(qstrlen("startxref\n"));
    int numberEnd = numberAt;
    while (numberEnd < pdf.size() && QChar::isDigit(pdf.at(numberEnd)))
        ++numberEnd;
    const int start = pdf.mid(numberAt, numberEnd - numberAt).toInt(&ok, kDecimal);
    if (!ok || start != table + 1 - delta)
        return false;
    pdf.replace(numberAt, numberEnd - numberAt, QByteArray::number(start + delta));
    return true;
}

} // namespace

QByteArray pdfXmpMetadata(const PdfInformation &information)
{
    const QString date = information.created.toString(kXmpDate);
    QString xmp = QStringLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                                 "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                                 "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                                 "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n");
    xmp += QStringLiteral("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n")
               .arg(xmlText(information.title));
    if (!information.author.isEmpty())
        xmp += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n")
                   .arg(xmlText(information.author));
    if (!information.subject.isEmpty())
        xmp += QStringLiteral("<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt>"
                              "</dc:description>\n")
                   .arg(xmlText(information.subject));
    xmp += QStringLiteral("</rdf:Description>\n"
                          "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" "
                          "xmp:CreatorTool=\"%1\" xmp:CreateDate=\"%2\" xmp:ModifyDate=\"%2\"/>\n"
                          "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" "
                          "pdf:Producer=\"%3\"/>\n"
                          "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\" "
                          "pdfaid:part=\"1\" pdfaid:conformance=\"B\"/>\n"
                          "</rdf:RDF>\n"
                          "</x:xmpmeta>\n"
                          "<?xpacket end='w'?>")
               .arg(xmlText(information.creator), date, xmlText(information.producer));
    return xmp.toUtf8();
}

QByteArray withPdfInformation(const QByteArray &pdf, const PdfInformation &information)
{
    static const QRegularExpression infoReference(QStringLiteral("/Info (\\d+) 0 R"));
    const int trailer = pdf.lastIndexOf("\ntrailer\n");
    if (trailer < 0)
        return pdf;
    const QRegularExpressionMatch reference = infoReference.match(QString::fromLatin1(pdf.mid(trailer)));
    if (!reference.hasMatch())
        return pdf;
    const int number = reference.captured(1).toInt();
    const QByteArray header = '\n' + QByteArray::number(number) + " 0 obj\n";
    const int found = pdf.indexOf(header);
    const int end = found < 0 ? -1 : pdf.indexOf("endobj\n", found);
    if (found < 0 || end < 0)
        return pdf;
    const int start = found + 1;
    const int length = end + int(qstrlen("endobj\n")) - start;

    QByteArray patched = pdf;
    const QByteArray object = informationObject(number, information);
    patched.replace(start, length, object);
    if (!moveCrossReferences(patched, start, object.size() - length))
        return pdf;
    return patched;
}
