#include "report/excelpagecodes.h"

#include "report/reportdata.h"

namespace {

QString escapedCodes(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The report number, block and date at the top left of each printed page; a
// long report number is shortened, the block never.
QString pageHeaderCodes(const QString &number, const QString &kept)
{
    constexpr int kHeaderBytes = 255;
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
    if (data.pageOfPages.isEmpty())
        return QString();
    return QStringLiteral("&R")
           + escapedCodes(data.pageOfPages).arg(QStringLiteral("&P"), QStringLiteral("&N"));
}
