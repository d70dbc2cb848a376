#include "report/xlsxapplicationname.h"

#include "report/zipentry.h"

namespace {
const QByteArray kAppPart = QByteArrayLiteral("docProps/app.xml");
const QByteArray kApplicationOpen = QByteArrayLiteral("<Application>");
const QByteArray kApplicationClose = QByteArrayLiteral("</Application>");
} // namespace

QByteArray withApplicationName(const QByteArray &package, const QString &application)
{
    if (application.isEmpty() || package.isEmpty())
        return package;
    QByteArray app = zipEntry(package, kAppPart);
    const int open = app.indexOf(kApplicationOpen);
    const int close = app.indexOf(kApplicationClose, open);
    if (open < 0 || close < 0)
        return package;
    const int start = open + kApplicationOpen.size();
    app.replace(start, close - start, application.toHtmlEscaped().toUtf8());
    const QByteArray patched = withZipEntry(package, kAppPart, app);
    return patched.isEmpty() ? package : patched;
}
