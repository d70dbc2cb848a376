// zrv-station run as a real child process against simulated instruments on
// pseudo-terminals: its verdicts, exit status, JSON, reports (read back by
// poppler and openpyxl) and history (read back from the stores).

#include "blocksets.h"
#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "pdfreader.h"
#include "postgresserver.h"
#include "stationprocess.h"
#include "values/blockstatistics.h"
#include "xlsxreader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QtTest>
#include <algorithm>
#include <cmath>

namespace {

const QString kConfigCompany = QStringLiteral("Завод из настроек");
const QString kFormCompany = QStringLiteral("Станция по форме");
const QString kFormNumber = QStringLiteral("17/2024");
const QString kDatabase = QStringLiteral("station_history");

QVector<SimulatedBlock> stationBlocks()
{
    return {
        {QStringLiteral("Т 0001"), {5.0f, 5.1f, 4.9f, 5.2f, 4.8f}},
        {QStringLiteral("Т 0002"), {5.0f, 5.3f, 6.5f, 4.7f}},
        {QStringLiteral("Шов 0003"), {3.5f, 4.2f, 4.4f}},
    };
}

bool writeJson(const QString &path, const QJsonObject &object)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(object).toJson()) > 0;
}

// The reads of a store, loaded whole, newest first.
QVector<ReadRecord> storedReads(HistoryConnection &connection)
{
    QVector<ReadRecord> reads;
    QVector<StoredRead> list;
    if (!connection.open() || !HistoryReader(connection).listReads({}, nullptr, 100, &list))
        return reads;
    for (const StoredRead &stored : qAsConst(list)) {
        ReadRecord read;
        if (HistoryReader(connection).loadRead(stored.id, &read))
            reads.append(read);
    }
    return reads;
}

// Process capability written out here, apart from the product's code: the
// within deviation is the average moving range over d2 = 1.128, the overall
// one the sample deviation; an open side (NaN) gives no Cp/Pp and leaves
// Cpk/Ppk to the other side.
struct ReferenceCapability
{
    double cp = qQNaN();
    double cpk = qQNaN();
    double pp = qQNaN();
    double ppk = qQNaN();
};

ReferenceCapability referenceCapability(const QVector<float> &values, double lower, double upper)
{
    ReferenceCapability r;
    const int n = values.size();
    if (n < 2)
        return r;
    double mean = 0.0;
    for (const float v : values)
        mean += v;
    mean /= n;
    double squares = 0.0;
    double ranges = 0.0;
    for (int i = 0; i < n; ++i) {
        squares += (values[i] - mean) * (values[i] - mean);
        if (i > 0)
            ranges += std::fabs(double(values[i]) - double(values[i - 1]));
    }
    const double overall = std::sqrt(squares / (n - 1));
    const double within = ranges / (n - 1) / 1.128;
    const auto spread = [&](double sigma) {
        return sigma > 0.0 && !std::isnan(lower) && !std::isnan(upper) ? (upper - lower) / (6.0 * sigma)
                                                                       : qQNaN();
    };
    const auto nearer = [&](double sigma) {
        if (!(sigma > 0.0))
            return qQNaN();
        const double toUpper = std::isnan(upper) ? qInf() : (upper - mean) / (3.0 * sigma);
        const double toLower = std::isnan(lower) ? qInf() : (mean - lower) / (3.0 * sigma);
        return std::min(toUpper, toLower);
    };
    r.cp = spread(within);
    r.cpk = nearer(within);
    r.pp = spread(overall);
    r.ppk = nearer(overall);
    return r;
}

// A JSON figure against its reference: both null, or equal to rounding.
bool sameFigure(const QJsonValue &value, double expected)
{
    if (std::isnan(expected))
        return value.isNull();
    return value.isDouble()
           && std::fabs(value.toDouble() - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
}

QString figureMismatch(const QString &key, const QJsonValue &value, double expected)
{
    return QStringLiteral("%1: %2, expected %3")
        .arg(key, QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)))
        .arg(expected, 0, 'g', 17);
}

} // namespace

class StationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        QVERIFY2(server.start(&why), qPrintable(why));
        QVERIFY2(server.createDatabase(kDatabase, &why), qPrintable(why));
    }
    void cleanupTestCase() { server.stop(); }

    void judgedRead_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("history");
        QTest::addColumn<bool>("formFile");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QVector<int>>("numbers");
        QTest::addColumn<QStringList>("verdicts"); // empty: null
        QTest::addColumn<QVector<int>>("outside"); // -1: null

        const QString in = QStringLiteral("in tolerance");
        const QString out = QStringLiteral("out of tolerance");
        QTest::newRow("in band, pdf, no history")
            << QStringList{QStringLiteral("--band"), QStringLiteral("3:7")} << "pdf"
            << "none" << false << 0 << QVector<int>{1, 2, 3} << QStringList{in, in, in}
            << QVector<int>{0, 0, 0};
        QTest::newRow("out of band, xlsx, sqlite file")
            << QStringList{QStringLiteral("--band"), QStringLiteral("4:6")} << "xlsx"
            << "file" << true << 1 << QVector<int>{1, 2, 3} << QStringList{in, out, out}
            << QVector<int>{0, 1, 1};
        QTest::newRow("no band, both, window's history")
            << QStringList{} << "both"
            << "default" << false << 0 << QVector<int>{1, 2, 3}
            << QStringList{QString(), QString(), QString()} << QVector<int>{-1, -1, -1};
        QTest::newRow("upper limit only, pdf, server")
            << QStringList{QStringLiteral("--max"), QStringLiteral("6")} << "pdf"
            << "postgres" << true << 1 << QVector<int>{1, 2, 3} << QStringList{in, out, in}
            << QVector<int>{0, 1, 0};
        QTest::newRow("lower limit only, chosen blocks, both, sqlite file")
            << QStringList{QStringLiteral("--min"), QStringLiteral("4"), QStringLiteral("--blocks"),
                           QStringLiteral("1,3")}
            << "both"
            << "file" << false << 1 << QVector<int>{1, 3} << QStringList{in, out} << QVector<int>{0, 1};
        QTest::newRow("chosen block in band, one chosen block missing, xlsx, server")
            << QStringList{QStringLiteral("--band"), QStringLiteral("4.5:7"), QStringLiteral("--blocks"),
                           QStringLiteral("7,2")}
            << "xlsx"
            << "postgres" << false << 0 << QVector<int>{2} << QStringList{in} << QVector<int>{0};
    }

    void judgedRead()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, report);
        QFETCH(QString, history);
        QFETCH(bool, formFile);
        QFETCH(int, exitCode);
        QFETCH(QVector<int>, numbers);
        QFETCH(QStringList, verdicts);
        QFETCH(QVector<int>, outside);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        StationProcess station(home.path());
        QVERIFY(writeJson(station.windowFolder() + QStringLiteral("/config.json"),
                          {{QStringLiteral("company_name"), kConfigCompany},
                           {QStringLiteral("report_operator"), QStringLiteral("Иванов")}}));
        const QString company = formFile ? kFormCompany : kConfigCompany;
        const QString formPath = home.filePath(QStringLiteral("form.json"));
        if (formFile) {
            QVERIFY(writeJson(formPath, {{QStringLiteral("company_name"), kFormCompany},
                                         {QStringLiteral("report_number"), kFormNumber},
                                         {QStringLiteral("report_date"), QStringLiteral("01.02.2026")}}));
            arguments << QStringLiteral("--form") << formPath;
        }

        const QString historyFile = home.filePath(QStringLiteral("line.sqlite"));
        const QString database = kDatabase + QString::number(QDateTime::currentMSecsSinceEpoch());
        QString why;
        if (history == QLatin1String("postgres"))
            QVERIFY2(server.createDatabase(database, &why), qPrintable(why));
        const HistoryServer address = server.address(database);
        const QString historyTarget = history == QLatin1String("file") ? historyFile
                                      : history == QLatin1String("postgres")
                                          ? QStringLiteral("postgresql://%1@/%2?host=%3")
                                                .arg(address.user, address.database, address.host)
                                          : history;

        const auto simulator = pluggedSimulator(stationBlocks());
        QVERIFY(simulator);
        const QString out = home.filePath(QStringLiteral("reports"));
        arguments << QStringLiteral("--port") << simulator->portPath() << QStringLiteral("--wait")
                  << QStringLiteral("20") << QStringLiteral("--report") << report << QStringLiteral("--out")
                  << out << QStringLiteral("--history") << historyTarget << QStringLiteral("--json");
        QVERIFY(station.run(arguments));
        QVERIFY2(station.exitCode() == exitCode, qPrintable(station.errors()));

        // The JSON document: the port, the outcome, each chosen block.
        const QJsonObject document = station.json();
        QCOMPARE(document.value(QStringLiteral("exitStatus")).toInt(), exitCode);
        const QJsonArray ports = document.value(QStringLiteral("ports")).toArray();
        QCOMPARE(ports.size(), 1);
        const QJsonObject port = ports.at(0).toObject();
        QCOMPARE(port.value(QStringLiteral("port")).toString(), simulator->portPath());
        QCOMPARE(port.value(QStringLiteral("outcome")).toString(), QStringLiteral("complete"));
        QCOMPARE(port.value(QStringLiteral("blockCount")).toInt(), 3);
        const QJsonArray blocks = port.value(QStringLiteral("blocks")).toArray();
        QCOMPARE(blocks.size(), numbers.size());
        const bool seventhAsked = arguments.contains(QStringLiteral("7,2"));
        QCOMPARE(port.value(QStringLiteral("missingBlocks")).toArray(),
                 seventhAsked ? QJsonArray{7} : QJsonArray());
        const QString expectedState = history == QLatin1String("none") ? QString() : QStringLiteral("stored");
        QCOMPARE(document.value(QStringLiteral("history")).toString(), expectedState);
        QCOMPARE(document.value(QStringLiteral("history")).isNull(), expectedState.isNull());

        // The band's limits as given; NaN for an open side.
        double lower = qQNaN();
        double upper = qQNaN();
        for (int a = 0; a + 1 < arguments.size(); ++a) {
            const QString &value = arguments.at(a + 1);
            if (arguments.at(a) == QLatin1String("--band")) {
                lower = value.section(QLatin1Char(':'), 0, 0).toDouble();
                upper = value.section(QLatin1Char(':'), 1, 1).toDouble();
            } else if (arguments.at(a) == QLatin1String("--min")) {
                lower = value.toDouble();
            } else if (arguments.at(a) == QLatin1String("--max")) {
                upper = value.toDouble();
            }
        }
        const QVector<SimulatedBlock> served = stationBlocks();
        for (int i = 0; i < numbers.size(); ++i) {
            const QJsonObject block = blocks.at(i).toObject();
            const SimulatedBlock &simulated = served.at(numbers.at(i) - 1);
            const BlockStatistics statistics = computeStatistics(simulated.values);
            QCOMPARE(block.value(QStringLiteral("number")).toInt(), numbers.at(i));
            QCOMPARE(block.value(QStringLiteral("name")).toString(), shownName(simulated));
            QCOMPARE(block.value(QStringLiteral("n")).toInt(), simulated.values.size());
            QVERIFY(block.value(QStringLiteral("min")).isDouble());
            QCOMPARE(float(block.value(QStringLiteral("min")).toDouble()), float(statistics.minimum));
            QCOMPARE(float(block.value(QStringLiteral("max")).toDouble()), float(statistics.maximum));
            QCOMPARE(block.value(QStringLiteral("mean")).toDouble(), statistics.mean);
            QCOMPARE(block.value(QStringLiteral("sigma")).toDouble(), statistics.stdev);
            if (verdicts.at(i).isEmpty()) {
                QVERIFY(block.value(QStringLiteral("verdict")).isNull());
                QVERIFY(block.value(QStringLiteral("cp")).isNull());
            } else {
                QCOMPARE(block.value(QStringLiteral("verdict")).toString(), verdicts.at(i));
            }
            if (outside.at(i) < 0)
                QVERIFY(block.value(QStringLiteral("outOfBand")).isNull());
            else
                QCOMPARE(block.value(QStringLiteral("outOfBand")).toInt(), outside.at(i));
            // A one-sided band has no width: Cp is undefined, Cpk is the nearer side's.
            const bool twoSided = arguments.contains(QStringLiteral("--band"));
            QCOMPARE(block.value(QStringLiteral("cp")).isDouble(), twoSided);
            QCOMPARE(block.value(QStringLiteral("cpk")).isDouble(), !verdicts.at(i).isEmpty());
            QCOMPARE(block.value(QStringLiteral("pp")).isDouble(), twoSided);
            QCOMPARE(block.value(QStringLiteral("ppk")).isDouble(), !verdicts.at(i).isEmpty());
            const ReferenceCapability expected = verdicts.at(i).isEmpty()
                                                     ? ReferenceCapability()
                                                     : referenceCapability(simulated.values, lower, upper);
            for (const auto &[key, figure] : {std::pair<const char *, double>{"cp", expected.cp},
                                              {"cpk", expected.cpk},
                                              {"pp", expected.pp},
                                              {"ppk", expected.ppk}}) {
                const QJsonValue value = block.value(QLatin1String(key));
                QVERIFY2(sameFigure(value, figure), qPrintable(figureMismatch(key, value, figure)));
            }

            // The reports, read back by independent readers.
            const QJsonArray paths = block.value(QStringLiteral("reports")).toArray();
            QCOMPARE(paths.size(), report == QLatin1String("both") ? 2 : 1);
            for (const QJsonValue &value : paths) {
                const QString path = value.toString();
                QVERIFY2(QFile::exists(path), qPrintable(path));
                QVERIFY(path.startsWith(out));
                const QString text = path.endsWith(QLatin1String(".pdf"))
                                         ? pdfText(path, kAllPages, PdfText::ReadingOrder)
                                         : workbookText(readWorkbook(path));
                if (report != QLatin1String("both"))
                    QVERIFY2(path.endsWith(QLatin1Char('.') + report), qPrintable(path));
                // The name's padding is the instrument's; the words are what a reader finds.
                for (const QString &word : shownName(simulated).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    QVERIFY2(text.contains(word), qPrintable(text));
                QVERIFY2(text.contains(company), qPrintable(text));
                if (formFile)
                    QVERIFY2(text.contains(kFormNumber), qPrintable(text));
                if (arguments.contains(QStringLiteral("--max")))
                    QVERIFY2(text.contains(QStringLiteral("-\u221E; 6]")), qPrintable(text));
                if (verdicts.at(i) == QLatin1String("in tolerance"))
                    QVERIFY2(text.contains(QStringLiteral("Соответствует")), qPrintable(text));
                else if (!verdicts.at(i).isEmpty())
                    QVERIFY2(text.contains(QStringLiteral("Не соответствует")), qPrintable(text));
            }
        }

        // The history holds the whole read, every block with its values.
        std::unique_ptr<HistoryConnection> store;
        const QString windowStore = station.windowFolder() + QStringLiteral("/history.sqlite");
        if (history == QLatin1String("file"))
            store = std::make_unique<HistoryConnection>(historyFile);
        else if (history == QLatin1String("default"))
            store = std::make_unique<HistoryConnection>(windowStore);
        else if (history == QLatin1String("postgres"))
            store = std::make_unique<HistoryConnection>(address);
        if (!store) {
            QVERIFY(!QFile::exists(windowStore));
            return;
        }
        const QVector<ReadRecord> reads = storedReads(*store);
        QCOMPARE(reads.size(), 1);
        QCOMPARE(reads.at(0).portName, simulator->portPath());
        QCOMPARE(reads.at(0).outcome, ReadOutcome::Complete);
        QCOMPARE(reads.at(0).blocks.size(), 3);
        for (int b = 0; b < 3; ++b) {
            QCOMPARE(reads.at(0).blocks.at(b).name, shownName(served.at(b)));
            QCOMPARE(reads.at(0).blocks.at(b).values, served.at(b).values);
        }
    }

    void decimalsReachTheReports()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        const auto simulator = pluggedSimulator({{QStringLiteral("Т 0001"), {5.125f, 4.5f}}});
        QVERIFY(simulator);
        QVERIFY(station.run({QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--decimals"),
                             QStringLiteral("3"), QStringLiteral("--report"), QStringLiteral("xlsx"),
                             QStringLiteral("--out"), home.filePath(QStringLiteral("r")),
                             QStringLiteral("--history"), QStringLiteral("none"), QStringLiteral("--json")}));
        QCOMPARE(station.exitCode(), 0);
        const QString path = station.firstPortBlocks()
                                 .at(0)
                                 .toObject()
                                 .value(QStringLiteral("reports"))
                                 .toArray()
                                 .at(0)
                                 .toString();
        const QString text = workbookText(readWorkbook(path));
        QVERIFY2(text.contains(QStringLiteral("5.125")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("4.500")), qPrintable(text));
    }

    // Cp/Cpk against the within deviation and Pp/Ppk against the overall
    // one part ways for a drifting block; without spread or with one reading
    // there is no figure.
    void capabilityFigures()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        const QVector<SimulatedBlock> served = {
            {QStringLiteral("Дрейф 0001"), {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f}},
            {QStringLiteral("Шум 0002"), {5.0f, 7.5f, 4.0f, 6.25f, 5.5f, 3.75f}},
            {QStringLiteral("Ровно 0003"), {5.0f, 5.0f, 5.0f}},
            {QStringLiteral("Одно 0004"), {5.0f}},
        };
        const auto simulator = pluggedSimulator(served);
        QVERIFY(simulator);
        QVERIFY(station.run({QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--band"),
                             QStringLiteral("0:12"), QStringLiteral("--report"), QStringLiteral("xlsx"),
                             QStringLiteral("--out"), home.filePath(QStringLiteral("r")),
                             QStringLiteral("--history"), QStringLiteral("none"), QStringLiteral("--json")}));
        QVERIFY2(station.exitCode() == 0, qPrintable(station.errors()));
        const QJsonArray blocks = station.firstPortBlocks();
        QCOMPARE(blocks.size(), served.size());
        for (int i = 0; i < served.size(); ++i) {
            const QJsonObject block = blocks.at(i).toObject();
            const ReferenceCapability expected = referenceCapability(served.at(i).values, 0.0, 12.0);
            for (const auto &[key, figure] : {std::pair<const char *, double>{"cp", expected.cp},
                                              {"cpk", expected.cpk},
                                              {"pp", expected.pp},
                                              {"ppk", expected.ppk}}) {
                const QJsonValue value = block.value(QLatin1String(key));
                QVERIFY2(sameFigure(value, figure), qPrintable(figureMismatch(key, value, figure)));
            }
        }
        // The drift: moving ranges of 1, so within σ = 1/1.128, far below the overall σ.
        const QJsonObject drift = blocks.at(0).toObject();
        QVERIFY(std::fabs(drift.value(QStringLiteral("cp")).toDouble() - 12.0 * 1.128 / 6.0) < 1e-12);
        QVERIFY(drift.value(QStringLiteral("pp")).toDouble()
                < drift.value(QStringLiteral("cp")).toDouble() / 2);
        for (const char *key : {"cp", "cpk", "pp", "ppk"}) {
            QVERIFY2(blocks.at(2).toObject().value(QLatin1String(key)).isNull(), key);
            QVERIFY2(blocks.at(3).toObject().value(QLatin1String(key)).isNull(), key);
        }
    }

    // The document holds what the README shows, and nothing it does not.
    void jsonKeys()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        const auto simulator = pluggedSimulator(threeBlocks());
        QVERIFY(simulator);
        QVERIFY(station.run({QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--band"),
                             QStringLiteral("0:1000"), QStringLiteral("--report"), QStringLiteral("xlsx"),
                             QStringLiteral("--out"), home.filePath(QStringLiteral("r")),
                             QStringLiteral("--history"), QStringLiteral("none"), QStringLiteral("--json")}));
        QVERIFY2(station.exitCode() == 0, qPrintable(station.errors()));
        const auto keys = [](const QJsonObject &object) {
            QStringList names = object.keys();
            names.sort();
            return names;
        };
        const QJsonObject document = station.json();
        QCOMPARE(keys(document), (QStringList{"band", "exitStatus", "history", "historyError", "ports"}));
        const QJsonObject port = document.value(QStringLiteral("ports")).toArray().at(0).toObject();
        QCOMPARE(keys(port), (QStringList{"blockCount", "blocks", "blocksRead", "device", "history",
                                          "missingBlocks", "outcome", "port", "startedAt"}));
        const QJsonArray blocks = port.value(QStringLiteral("blocks")).toArray();
        QCOMPARE(blocks.size(), threeBlocks().size());
        for (const QJsonValue &block : blocks)
            QCOMPARE(
                keys(block.toObject()),
                (QStringList{"cp", "cpk", "fault", "max", "mean", "min", "n", "name", "number", "outOfBand",
                             "pp", "ppk", "reports", "reportsFailed", "sigma", "signingError", "verdict"}));
    }

    void noInstrument_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("path that never appears") << "missing";
        QTest::newRow("device that answers wrongly") << "wrong";
        QTest::newRow("system ports") << "system";
    }

    void noInstrument()
    {
        QFETCH(QString, kind);
        QTemporaryDir home;
        StationProcess station(home.path());
        InstrumentBehaviour wrong;
        wrong.identificationAnswer = QByteArray::fromHex("00000001");
        const auto simulator = pluggedSimulator(threeBlocks(), wrong);
        QVERIFY(simulator);
        QStringList arguments{QStringLiteral("--wait"), QStringLiteral("1"), QStringLiteral("--history"),
                              QStringLiteral("none"), QStringLiteral("--json")};
        if (kind == QLatin1String("missing"))
            arguments << QStringLiteral("--port") << home.filePath(QStringLiteral("no-such-port"));
        else if (kind == QLatin1String("wrong"))
            arguments << QStringLiteral("--port") << simulator->portPath();
        QVERIFY(station.run(arguments));
        QCOMPARE(station.exitCode(), 2);
        const QJsonObject port = station.firstPort();
        QCOMPARE(port.value(QStringLiteral("outcome")).toString(), QStringLiteral("not found"));
        QVERIFY(port.value(QStringLiteral("blocks")).toArray().isEmpty());
        QVERIFY(port.value(QStringLiteral("history")).isNull());
    }

    void notWritten_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("report folder is a file") << "report";
        QTest::newRow("history file under a plain file") << "history";
        QTest::newRow("server that cannot be reached") << "server";
    }

    // A report or the history that cannot be written: exit 3, the read kept.
    void notWritten()
    {
        QFETCH(QString, what);
        QTemporaryDir home;
        StationProcess station(home.path());
        const QString blocker = home.filePath(QStringLiteral("plain-file"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const auto simulator = pluggedSimulator(threeBlocks());
        QVERIFY(simulator);
        const bool report = what == QLatin1String("report");
        const QString history =
            report ? QStringLiteral("default")
            : what == QLatin1String("server")
                ? QStringLiteral("postgresql://%1@/zrv?host=%2")
                      .arg(PostgresServer::user(), home.filePath(QStringLiteral("no-server")))
                : blocker + QStringLiteral("/h.sqlite");
        QVERIFY(
            station.run({QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--band"),
                         QStringLiteral("0:1000"), QStringLiteral("--out"),
                         report ? blocker + QStringLiteral("/reports") : home.filePath(QStringLiteral("r")),
                         QStringLiteral("--history"), history, QStringLiteral("--json")}));
        QVERIFY2(station.exitCode() == 3, qPrintable(station.errors()));
        const QJsonObject document = station.json();
        const QJsonObject block = station.firstPortBlocks().at(0).toObject();
        if (report) {
            QVERIFY(block.value(QStringLiteral("reports")).toArray().isEmpty());
            QCOMPARE(block.value(QStringLiteral("reportsFailed")).toArray().size(), 1);
            QCOMPARE(document.value(QStringLiteral("history")).toString(), QStringLiteral("stored"));
            return;
        }
        if (what == QLatin1String("server")) {
            // It waits in the window's local file, to be sent once the server is back.
            QCOMPARE(document.value(QStringLiteral("history")).toString(), QStringLiteral("kept locally"));
            QVERIFY(!document.value(QStringLiteral("historyError")).toString().isEmpty());
            HistoryConnection local(station.windowFolder() + QStringLiteral("/history.sqlite"));
            QVERIFY(local.open());
            QVector<qint64> pending;
            QVERIFY(HistoryReader(local).pendingReads(&pending));
            QCOMPARE(pending.size(), 1);
            return;
        }
        // Kept where the window's next run takes it in.
        QCOMPARE(document.value(QStringLiteral("history")).toString(), QStringLiteral("spooled"));
        const QStringList unsaved =
            QDir(station.windowFolder()).entryList({QStringLiteral("history-unsaved-*.sqlite")}, QDir::Files);
        QCOMPARE(unsaved.size(), 1);
        QVector<ReadRecord> reads;
        {
            HistoryConnection kept(station.windowFolder() + QLatin1Char('/') + unsaved.first());
            reads = storedReads(kept);
        }
        QCOMPARE(reads.size(), 1);
        QCOMPARE(reads.at(0).blocks.size(), threeBlocks().size());
    }

    // A block whose data request goes unanswered is asked for once more
    // (its requests only, never the count); still unread it fails the link.
    void failedBlockTriedAgain_data()
    {
        QTest::addColumn<int>("silentTimes"); // -1: every time
        QTest::addColumn<QString>("blocks");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("dataRequests"); // block 2's
        QTest::newRow("silent once: read on the second try") << 1 << "all" << 0 << 2;
        QTest::newRow("silent every time: a failed link") << -1 << "all" << 2 << 2;
        QTest::newRow("silent every time, not chosen: not tried again") << -1 << "1,3" << 0 << 1;
    }
    void failedBlockTriedAgain()
    {
        QFETCH(int, silentTimes);
        QFETCH(QString, blocks);
        QFETCH(int, exitCode);
        QFETCH(int, dataRequests);
        QTemporaryDir home;
        StationProcess station(home.path());
        InstrumentBehaviour behaviour;
        behaviour.silence.enabled = true;
        behaviour.silence.commands = {0x09};
        behaviour.silenceIndex = 1;
        behaviour.silenceTimes = silentTimes;
        const auto simulator = pluggedSimulator(stationBlocks(), behaviour);
        QVERIFY(simulator);
        const QString out = home.filePath(QStringLiteral("r"));
        QVERIFY(station.run({QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--band"),
                             QStringLiteral("0:1000"), QStringLiteral("--blocks"), blocks,
                             QStringLiteral("--out"), out, QStringLiteral("--history"),
                             QStringLiteral("none"), QStringLiteral("--json")}));
        QVERIFY2(station.exitCode() == exitCode, qPrintable(station.errors()));

        const QVector<quint32> requests = simulator->requests();
        QCOMPARE(requests.count(0x00060000u), 1);
        QCOMPARE(requests.count(0x00090001u), dataRequests);
        QCOMPARE(requests.count(0x00070001u), dataRequests);

        const QJsonObject document = station.json();
        QCOMPARE(document.value(QStringLiteral("exitStatus")).toInt(), exitCode);
        const QJsonObject port = document.value(QStringLiteral("ports")).toArray().at(0).toObject();
        QCOMPARE(port.value(QStringLiteral("outcome")).toString(), QStringLiteral("complete"));
        const QJsonArray judged = port.value(QStringLiteral("blocks")).toArray();
        const bool secondChosen = blocks == QLatin1String("all");
        QCOMPARE(judged.size(), secondChosen ? 3 : 2);
        const QStringList pdfs = QDir(out).entryList({QStringLiteral("*.pdf")});
        const bool readAgain = silentTimes == 1;
        QCOMPARE(pdfs.size(), readAgain ? 3 : 2);
        const QString unread = QStringLiteral("блок 2 не считан и после повтора");
        QCOMPARE(station.errors().contains(unread), exitCode == 2);
        QCOMPARE(station.errors().contains(QStringLiteral("блок 2 считан повторно")), secondChosen);
        if (!secondChosen)
            return;
        const QJsonObject second = judged.at(1).toObject();
        QCOMPARE(second.value(QStringLiteral("number")).toInt(), 2);
        QCOMPARE(second.value(QStringLiteral("fault")).toString(),
                 readAgain ? QStringLiteral("none") : QStringLiteral("data"));
        QCOMPARE(second.value(QStringLiteral("n")).toInt(),
                 readAgain ? stationBlocks().at(1).values.size() : 0);
        QCOMPARE(second.value(QStringLiteral("reports")).toArray().size(), readAgain ? 1 : 0);
        QCOMPARE(second.value(QStringLiteral("verdict")).toString(),
                 readAgain ? QStringLiteral("in tolerance") : QString());
    }

    void badOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--colour")} << "--colour";
        QTest::newRow("stray argument") << QStringList{QStringLiteral("COM3")} << "COM3";
        QTest::newRow("missing value") << QStringList{QStringLiteral("--port")} << "--port";
        QTest::newRow("band upside down")
            << QStringList{QStringLiteral("--band"), QStringLiteral("5:1")} << "--band";
        QTest::newRow("band not a range")
            << QStringList{QStringLiteral("--band"), QStringLiteral("5")} << "--band";
        QTest::newRow("band and a limit") << QStringList{QStringLiteral("--band"), QStringLiteral("1:5"),
                                                         QStringLiteral("--max"), QStringLiteral("3")}
                                          << "--band";
        QTest::newRow("wait not a number")
            << QStringList{QStringLiteral("--wait"), QStringLiteral("soon")} << "--wait";
        QTest::newRow("block zero") << QStringList{QStringLiteral("--blocks"), QStringLiteral("1,0")}
                                    << "--blocks";
        QTest::newRow("decimals out of range") << QStringList{QStringLiteral("--decimals=5")} << "--decimals";
        QTest::newRow("unknown report")
            << QStringList{QStringLiteral("--report"), QStringLiteral("doc")} << "--report";
        QTest::newRow("flag with a value") << QStringList{QStringLiteral("--json=yes")} << "--json";
        QTest::newRow("server address without database")
            << QStringList{QStringLiteral("--history"), QStringLiteral("postgresql://host")}
            << "postgresql://host";
        QTest::newRow("unreadable form")
            << QStringList{QStringLiteral("--form"), QStringLiteral("/nonexistent/form.json")} << "form.json";
        // A certificate and its password file go together.
        QTest::newRow("certificate alone")
            << QStringList{QStringLiteral("--sign"), QStringLiteral("a.p12")} << "--sign";
        QTest::newRow("password file alone")
            << QStringList{QStringLiteral("--sign-password-file"), QStringLiteral("p.txt")} << "--sign";
        QTest::newRow("certificate without a name")
            << QStringList{QStringLiteral("--sign="), QStringLiteral("--sign-password-file"),
                           QStringLiteral("p.txt")}
            << "--sign";
    }

    void badOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        QTemporaryDir home;
        StationProcess station(home.path());
        QVERIFY(station.run(arguments));
        QCOMPARE(station.exitCode(), 64);
        const QStringList lines = station.errors().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.at(0).contains(reason), qPrintable(lines.at(0)));
        QVERIFY(lines.at(1).contains(QStringLiteral("--help")));
        QVERIFY(station.stdoutBytes().isEmpty());
    }

    void help()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        QVERIFY(station.run({QStringLiteral("--help")}));
        QCOMPARE(station.exitCode(), 0);
        for (const char *option :
             {"--port", "--wait", "--blocks", "--band", "--min", "--max", "--decimals", "--report", "--out",
              "--form", "--history", "--json", "--quiet", "--sign FILE.p12", "--sign-password-file FILE"})
            QVERIFY2(station.stdoutBytes().contains(option), option);
    }

    void quietIsSilent()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        const auto simulator = pluggedSimulator(threeBlocks());
        QVERIFY(simulator);
        QVERIFY(station.run({QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--quiet"),
                             QStringLiteral("--out"), home.filePath(QStringLiteral("r")),
                             QStringLiteral("--history"), QStringLiteral("none")}));
        QCOMPARE(station.exitCode(), 0);
        QVERIFY2(station.errors().isEmpty(), qPrintable(station.errors()));
        QCOMPARE(QDir(home.filePath(QStringLiteral("r"))).entryList({QStringLiteral("*.pdf")}).size(), 3);
    }

private:
    PostgresServer server;
};

QTEST_GUILESS_MAIN(StationTest)

#include "tst_station.moc"
