#include "report/excelpagecodes.h"

#include "report/reportdata.h"

namespace {

constexpr int kHeaderBytes = 255; // of a header or footer, codes included

QString escapedCodes(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The report number, block and date at the top left of each printed page; a
// long report number is shortened, the block never.
QString pageHeaderCodes(const QString &number, const QString &kept)
{
    const QString left = QStringLiteral("&L");
    const QString rest = escapedCodes(kept);
    QString start = escapedCodes(number);
    const auto bytes = [&] { return (left + start + rest).toUtf8().size(); };
    if (bytes() <= kHeaderBytes)
        return left + start + rest;
    const QString ellipsis = QStringLiteral("\u2026");
    while (!start.isEmpty() && (left + start + ellipsis + rest).toUtf8().size() > kHeaderBytes)
        start.chop(1);
    if (start.endsWith(QLatin1Char('&')) && !start.endsWith(QStringLiteral("&&")))
        start.chop(1);
    return left + start + ellipsis + rest;
}

} // namespace

QString excelPageHeader(const ReportData &data)
{
    const bool numberFirst = data.pageHeader.startsWith(data.pageHeaderNumber);
    const QString number = numberFirst ? data.pageHeaderNumber : QString();
    return pageHeaderCodes(number, data.pageHeader.mid(number.size()));
}

QString excelPageFooter(const ReportData &data)
{
    const QString pages =
        data.pageOfPages.isEmpty()
            ? QString()
            : QStringLiteral("&R")
                  + escapedCodes(data.pageOfPages).arg(QStringLiteral("&P"), QStringLiteral("&N"));
    if (data.pageVerdict.isEmpty())
        return pages;
    const QString footer = QStringLiteral("&L") + escapedCodes(data.pageVerdict) + pages;
    // A verdict too long to print whole beside the page number is left out, never cut.
    return footer.toUtf8().size() <= kHeaderBytes ? footer : pages;
}
