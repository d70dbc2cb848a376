#include "xlsxreader.h"

#include "toolrun.h"

#include <QJsonDocument>
#include <QStringList>

namespace {

// Debian's interpreter: the one with openpyxl (the first python3 on PATH may lack it).
const QString kPython = QStringLiteral("/usr/bin/python3");

QJsonObject cells(const QJsonObject &book)
{
    return book.value(QStringLiteral("cells")).toObject();
}

QJsonValue valueOf(const QJsonValue &cell)
{
    return cell.toObject().value(QStringLiteral("value"));
}

} // namespace

QJsonObject readWorkbook(const QString &path)
{
    const QByteArray json = runReader(kPython, {QStringLiteral(ZRV_XLSX_READER), path});
    return QJsonDocument::fromJson(json).object();
}

QJsonObject workbookCell(const QJsonObject &book, const QString &name)
{
    return cells(book).value(name).toObject();
}

QVariant cellValue(const QJsonObject &book, const QString &name)
{
    return valueOf(cells(book).value(name)).toVariant();
}

QJsonObject cellValues(const QJsonObject &book)
{
    QJsonObject values;
    const QJsonObject all = cells(book);
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QJsonValue value = valueOf(it.value());
        if (!value.isNull() && !value.isUndefined())
            values.insert(it.key(), value);
    }
    return values;
}

QString workbookText(const QJsonObject &book)
{
    QStringList texts;
    const QJsonObject all = cells(book);
    for (auto it = all.begin(); it != all.end(); ++it)
        texts.append(valueOf(it.value()).toVariant().toString());
    return texts.join(QLatin1Char('\n'));
}
