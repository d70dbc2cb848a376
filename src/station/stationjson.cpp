#include "station/stationjson.h"

#include "values/readingnumbers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

// JSON has no NaN or infinity: a figure without a number is null.
QJsonValue figure(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue textOrNull(const QString &text)
{
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QString faultName(BlockFault fault)
{
    switch (fault) {
    case BlockFault::None:
        return QStringLiteral("none");
    case BlockFault::Name:
        return QStringLiteral("name");
    case BlockFault::Size:
        return QStringLiteral("size");
    case BlockFault::Data:
        return QStringLiteral("data");
    case BlockFault::Cut:
        break;
    }
    return QStringLiteral("cut");
}

QJsonValue verdictValue(BlockJudgement::Verdict verdict)
{
    switch (verdict) {
    case BlockJudgement::Verdict::InTolerance:
        return QStringLiteral("in tolerance");
    case BlockJudgement::Verdict::OutOfTolerance:
        return QStringLiteral("out of tolerance");
    case BlockJudgement::Verdict::None:
        break;
    }
    return QJsonValue::Null;
}

QJsonObject blockObject(const BlockJudgement &judged, const MemoryBlock &block,
                        const StationReports::Written &reports)
{
    QJsonObject object;
    object.insert(QStringLiteral("name"), judged.name);
    object.insert(QStringLiteral("number"), judged.number);
    object.insert(QStringLiteral("n"), judged.readings);
    object.insert(QStringLiteral("fault"), faultName(block.fault));
    // The extremes are readings: their shortest decimal, not the float's binary tail.
    object.insert(QStringLiteral("min"), figure(readingAsDecimal(float(judged.statistics.minimum))));
    object.insert(QStringLiteral("max"), figure(readingAsDecimal(float(judged.statistics.maximum))));
    object.insert(QStringLiteral("mean"), figure(judged.statistics.mean));
    object.insert(QStringLiteral("sigma"), figure(judged.statistics.stdev));
    const bool judgedAgainstBand = judged.verdict != BlockJudgement::Verdict::None;
    object.insert(QStringLiteral("outOfBand"), judgedAgainstBand ? QJsonValue(judged.outside) : QJsonValue());
    object.insert(QStringLiteral("verdict"), verdictValue(judged.verdict));
    object.insert(QStringLiteral("cp"), figure(judged.cp));
    object.insert(QStringLiteral("cpk"), figure(judged.cpk));
    object.insert(QStringLiteral("pp"), figure(judged.pp));
    object.insert(QStringLiteral("ppk"), figure(judged.ppk));
    object.insert(QStringLiteral("reports"), QJsonArray::fromStringList(reports.paths));
    object.insert(QStringLiteral("reportsFailed"), QJsonArray::fromStringList(reports.failed));
    object.insert(QStringLiteral("signingError"),
                  reports.signing.ok() ? QJsonValue() : QJsonValue(signingKindName(reports.signing.kind)));
    return object;
}

QJsonObject portObject(const PortSummary &port, const QJsonValue &history)
{
    const PortReadResult &read = port.read;
    QJsonObject object;
    object.insert(QStringLiteral("port"),
                  read.requestedPath.isEmpty() ? textOrNull(read.portName) : QJsonValue(read.requestedPath));
    object.insert(QStringLiteral("device"), textOrNull(read.portName));
    object.insert(QStringLiteral("outcome"), portOutcomeName(read.outcome));
    object.insert(QStringLiteral("blockCount"),
                  read.blockCount >= 0 ? QJsonValue(read.blockCount) : QJsonValue());
    object.insert(QStringLiteral("blocksRead"), read.blocksRead);
    object.insert(QStringLiteral("startedAt"), read.startedAt.isValid()
                                                   ? QJsonValue(read.startedAt.toString(Qt::ISODateWithMs))
                                                   : QJsonValue());
    // A read without a count listed nothing and is not kept.
    object.insert(QStringLiteral("history"), read.blockCount >= 0 ? history : QJsonValue());
    QJsonArray blocks;
    for (int i = 0; i < port.judged.size(); ++i)
        blocks.append(
            blockObject(port.judged.at(i), read.blocks.at(port.judged.at(i).number - 1), port.reports.at(i)));
    object.insert(QStringLiteral("blocks"), blocks);
    QJsonArray missing;
    for (const int number : port.missing)
        missing.append(number);
    object.insert(QStringLiteral("missingBlocks"), missing);
    return object;
}

} // namespace

QByteArray stationJson(const QVector<PortSummary> &ports, const ToleranceBand &band,
                       StationHistory::State history, const QString &historyFailure, int exitStatus)
{
    const QJsonValue historyState = textOrNull(historyStateName(history));
    QJsonArray portList;
    for (const PortSummary &port : ports)
        portList.append(portObject(port, historyState));

    QJsonObject document;
    document.insert(QStringLiteral("ports"), portList);
    if (band.on)
        document.insert(QStringLiteral("band"), QJsonObject{{QStringLiteral("min"), figure(band.lower)},
                                                            {QStringLiteral("max"), figure(band.upper)}});
    else
        document.insert(QStringLiteral("band"), QJsonValue());
    document.insert(QStringLiteral("history"), historyState);
    document.insert(QStringLiteral("historyError"),
                    historyFailure.isEmpty() ? QJsonValue() : QJsonValue(historyFailure));
    document.insert(QStringLiteral("exitStatus"), exitStatus);
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}
