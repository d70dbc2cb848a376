#include "blockfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

constexpr int kMaxBlocks = 0xFFFF;
constexpr int kMaxValues = 0xFFFF;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool loadBlockFile(const QString &path, QVector<SimulatedBlock> *blocks, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (document.isNull())
        return fail(error, QStringLiteral("%1: %2").arg(path, parseError.errorString()));

    QJsonArray list;
    if (document.isArray())
        list = document.array();
    else if (document.object().value(QStringLiteral("blocks")).isArray())
        list = document.object().value(QStringLiteral("blocks")).toArray();
    else
        return fail(error, QStringLiteral("%1: no \"blocks\" array").arg(path));
    if (list.size() > kMaxBlocks)
        return fail(error, QStringLiteral("%1: more than %2 blocks").arg(path).arg(kMaxBlocks));

    QVector<SimulatedBlock> result;
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject entry = list.at(i).toObject();
        const QJsonValue name = entry.value(QStringLiteral("name"));
        const QJsonValue values = entry.value(QStringLiteral("values"));
        if (!name.isString() || !values.isArray())
            return fail(error, QStringLiteral("%1: block %2 needs a \"name\" string and a \"values\" array")
                                   .arg(path)
                                   .arg(i));
        const QJsonArray numbers = values.toArray();
        if (numbers.size() > kMaxValues)
            return fail(
                error,
                QStringLiteral("%1: block %2 has more than %3 values").arg(path).arg(i).arg(kMaxValues));
        SimulatedBlock block;
        block.name = name.toString();
        for (const QJsonValue &number : numbers) {
            if (!number.isDouble())
                return fail(error,
                            QStringLiteral("%1: block %2 has a value that is not a number").arg(path).arg(i));
            block.values.append(static_cast<float>(number.toDouble()));
        }
        result.append(block);
    }
    *blocks = result;
    return true;
}
