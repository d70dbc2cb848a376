#include "simulatoroptions.h"

#include "blockfile.h"
#include "sampleblocks.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

bool parseCodes(const QString &text, FaultSwitch *fault)
{
    fault->enabled = true;
    fault->commands.clear();
    if (text.isEmpty() || text == QLatin1String("all"))
        return true;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int code = part.trimmed().toInt(&ok, 0);
        if (!ok || code < 0 || code > 0xFF)
            return false;
        fault->commands.insert(code);
    }
    return true;
}

bool parseCount(const QString &text, int minimum, int *value)
{
    bool ok = false;
    const int parsed = text.toInt(&ok);
    if (!ok || parsed < minimum)
        return false;
    *value = parsed;
    return true;
}

} // namespace

bool parseSimulatorOptions(const QStringList &arguments, SimulatorOptions *options, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated ZRV instrument on a pseudo-terminal. Prints the device path, then "
                       "answers requests on it until stopped (Ctrl+C). CODES is \"all\" or a comma-separated "
                       "list of command codes such as 0x06,0x09."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption blocksFile(
        QStringLiteral("blocks"),
        QStringLiteral("Serve the blocks of a JSON file instead of the built-in sample blocks."),
        QStringLiteral("FILE"));
    const QCommandLineOption uniform(
        QStringLiteral("uniform"),
        QStringLiteral("Serve COUNT blocks of VALUES readings each (e.g. 10x1000)."),
        QStringLiteral("COUNTxVALUES"));
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Keep a symbolic link at PATH pointing at the device while plugged in."),
        QStringLiteral("PATH"));
    const QCommandLineOption paced(QStringLiteral("paced"),
                                   QStringLiteral("Take the wire's time: 57600 baud, 8N1 (5760 bytes/s)."));
    const QCommandLineOption rate(QStringLiteral("rate"),
                                  QStringLiteral("Take the wire's time at this many bytes per second."),
                                  QStringLiteral("BYTES"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Do not answer these requests."),
                                    QStringLiteral("CODES"));
    const QCommandLineOption errorOn(
        QStringLiteral("error-on"),
        QStringLiteral("Answer these requests with the error answer 10 00 FF 00."), QStringLiteral("CODES"));
    const QCommandLineOption errorIndex(QStringLiteral("error-index"),
                                        QStringLiteral("Give the error answer only for this block index."),
                                        QStringLiteral("INDEX"));
    const QCommandLineOption chunks(QStringLiteral("chunks"),
                                    QStringLiteral("Send answers in pieces of SIZE bytes."),
                                    QStringLiteral("SIZE"));
    const QCommandLineOption chunkGap(QStringLiteral("chunk-gap"),
                                      QStringLiteral("Pause between pieces (default 2 ms)."),
                                      QStringLiteral("MS"));
    const QCommandLineOption surplus(QStringLiteral("surplus"),
                                     QStringLiteral("Append COUNT extra bytes to every answer."),
                                     QStringLiteral("COUNT"));
    const QCommandLineOption partial(QStringLiteral("partial"),
                                     QStringLiteral("Send only the first COUNT bytes of answers."),
                                     QStringLiteral("COUNT"));
    const QCommandLineOption partialOn(QStringLiteral("partial-on"),
                                       QStringLiteral("Limit --partial to these requests."),
                                       QStringLiteral("CODES"));
    const QCommandLineOption finishAnswers(
        QStringLiteral("finish-answers"),
        QStringLiteral(
            "Finish sending an answer before answering the next request (default: drop its rest)."));
    const QCommandLineOption idAnswer(
        QStringLiteral("id-answer"),
        QStringLiteral("Answer identification with these bytes (hex) instead of 2D07FB82."),
        QStringLiteral("HEX"));
    const QCommandLineOption idAttempt(
        QStringLiteral("id-on-attempt"),
        QStringLiteral("Answer identification rightly only from attempt N on (00000000 before)."),
        QStringLiteral("N"));
    const QCommandLineOption unplugAfter(
        QStringLiteral("unplug-after"),
        QStringLiteral("Unplug (close the pseudo-terminal) at the request after N requests."),
        QStringLiteral("N"));
    const QCommandLineOption replugAfter(
        QStringLiteral("replug-after"),
        QStringLiteral("Plug in again MS milliseconds after unplugging (best with --link)."),
        QStringLiteral("MS"));
    const QCommandLineOption verbose(QStringList{QStringLiteral("v"), QStringLiteral("verbose")},
                                     QStringLiteral("Print every request received."));
    parser.addOptions({help,          blocksFile, uniform,   link,        paced,       rate,    silent,
                       errorOn,       errorIndex, chunks,    chunkGap,    surplus,     partial, partialOn,
                       finishAnswers, idAnswer,   idAttempt, unplugAfter, replugAfter, verbose});

    auto failWith = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };

    if (!parser.parse(arguments))
        return failWith(parser.errorText());
    if (parser.isSet(help))
        return failWith(parser.helpText());
    if (!parser.positionalArguments().isEmpty())
        return failWith(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    SimulatorOptions result;
    InstrumentBehaviour &behaviour = result.behaviour;
    result.blocks = sampleBlocks();
    if (parser.isSet(blocksFile)) {
        QString fileError;
        if (!loadBlockFile(parser.value(blocksFile), &result.blocks, &fileError))
            return failWith(fileError);
    }
    if (parser.isSet(uniform)) {
        const QStringList parts = parser.value(uniform).split(QLatin1Char('x'));
        int count = 0;
        int values = 0;
        if (parts.size() != 2 || !parseCount(parts.at(0), 0, &count) || !parseCount(parts.at(1), 0, &values))
            return failWith(QStringLiteral("--uniform wants COUNTxVALUES, e.g. 10x1000"));
        result.blocks = uniformBlocks(count, values);
    }
    result.linkPath = parser.value(link);
    if (parser.isSet(paced))
        behaviour.bytesPerSecond = kWireBytesPerSecond;
    if (parser.isSet(rate) && !parseCount(parser.value(rate), 1, &behaviour.bytesPerSecond))
        return failWith(QStringLiteral("--rate wants a positive number"));
    if (parser.isSet(silent) && !parseCodes(parser.value(silent), &behaviour.silence))
        return failWith(QStringLiteral("--silent wants \"all\" or command codes"));
    if (parser.isSet(errorOn) && !parseCodes(parser.value(errorOn), &behaviour.errorAnswer))
        return failWith(QStringLiteral("--error-on wants \"all\" or command codes"));
    if (parser.isSet(errorIndex) && !parseCount(parser.value(errorIndex), 0, &behaviour.errorIndex))
        return failWith(QStringLiteral("--error-index wants a block index"));
    if (parser.isSet(chunks)) {
        behaviour.chunks.enabled = true;
        if (!parseCount(parser.value(chunks), 1, &behaviour.chunkSize))
            return failWith(QStringLiteral("--chunks wants a positive size"));
    }
    if (parser.isSet(chunkGap) && !parseCount(parser.value(chunkGap), 1, &behaviour.chunkGapMs))
        return failWith(QStringLiteral("--chunk-gap wants a positive number of milliseconds"));
    if (parser.isSet(surplus)) {
        behaviour.surplus.enabled = true;
        if (!parseCount(parser.value(surplus), 1, &behaviour.surplusBytes))
            return failWith(QStringLiteral("--surplus wants a positive count"));
    }
    if (parser.isSet(partial)) {
        behaviour.partial.enabled = true;
        if (!parseCount(parser.value(partial), 0, &behaviour.partialBytes))
            return failWith(QStringLiteral("--partial wants a count"));
        if (parser.isSet(partialOn) && !parseCodes(parser.value(partialOn), &behaviour.partial))
            return failWith(QStringLiteral("--partial-on wants \"all\" or command codes"));
    }
    behaviour.finishesAnswers = parser.isSet(finishAnswers);
    if (parser.isSet(idAnswer)) {
        const QString hex = parser.value(idAnswer);
        behaviour.identificationAnswer = QByteArray::fromHex(hex.toLatin1());
        if (behaviour.identificationAnswer.toHex().compare(hex.toLatin1(), Qt::CaseInsensitive) != 0)
            return failWith(QStringLiteral("--id-answer wants hex bytes, e.g. 1000FF00"));
    }
    if (parser.isSet(idAttempt)
        && !parseCount(parser.value(idAttempt), 1, &behaviour.rightIdentificationAttempt))
        return failWith(QStringLiteral("--id-on-attempt wants a positive number"));
    if (parser.isSet(unplugAfter)
        && !parseCount(parser.value(unplugAfter), 0, &behaviour.unplugAfterRequests))
        return failWith(QStringLiteral("--unplug-after wants a count"));
    if (parser.isSet(replugAfter) && !parseCount(parser.value(replugAfter), 0, &result.replugAfterMs))
        return failWith(QStringLiteral("--replug-after wants milliseconds"));
    result.verbose = parser.isSet(verbose);

    *options = result;
    return true;
}
