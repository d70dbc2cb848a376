#include "station/stationoptions.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>
#include <functional>
#include <limits>

namespace {

constexpr int kMsPerSecond = 1000;
constexpr int kMaxWaitSeconds = 24 * 60 * 60;
constexpr int kMinDecimals = 1;
constexpr int kMaxDecimals = 4;
constexpr double kUnbounded = std::numeric_limits<double>::infinity();

QString optionText(const char *source)
{
    return QCoreApplication::translate("StationOptions", source);
}

// A finite number in the C locale's form (the decimal point), or an error.
bool parseNumber(const QString &text, double *number)
{
    bool ok = false;
    *number = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(*number);
}

using Apply = std::function<QString(StationOptions &, const QString &)>;

// One option of the command line: its name, whether it takes a value, and
// what it does with it (an error text, or empty).
struct OptionEntry
{
    QString name;
    bool takesValue;
    Apply apply;
};

QString applyWait(StationOptions &o, const QString &value)
{
    double seconds = 0;
    if (!parseNumber(value, &seconds) || seconds < 0 || seconds > kMaxWaitSeconds)
        return optionText("--wait ждёт число секунд от 0 до 86400, а не «%1»").arg(value);
    o.waitMs = int(std::lround(seconds * kMsPerSecond));
    return {};
}

QString applyBlocks(StationOptions &o, const QString &value)
{
    o.blocks.clear();
    if (value == QLatin1String("all"))
        return {};
    for (const QString &part : value.split(QLatin1Char(','))) {
        bool ok = false;
        const int number = part.trimmed().toInt(&ok);
        if (!ok || number < 1)
            return optionText("--blocks ждёт all или номера блоков от 1 через запятую, а не «%1»").arg(value);
        if (!o.blocks.contains(number))
            o.blocks.append(number);
    }
    return {};
}

QString applyBand(StationOptions &o, const QString &value)
{
    const QStringList limits = value.split(QLatin1Char(':'));
    double lower = 0;
    double upper = 0;
    if (limits.size() != 2 || !parseNumber(limits.at(0), &lower) || !parseNumber(limits.at(1), &upper))
        return optionText("--band ждёт MIN:MAX, а не «%1»").arg(value);
    if (lower > upper)
        return optionText("в --band нижняя граница %1 больше верхней %2").arg(limits.at(0), limits.at(1));
    o.band = {true, lower, upper};
    return {};
}

QString applyLimit(StationOptions &o, const QString &value, bool lower)
{
    double limit = 0;
    if (!parseNumber(value, &limit))
        return optionText("%1 ждёт число, а не «%2»")
            .arg(lower ? QStringLiteral("--min") : QStringLiteral("--max"), value);
    if (!o.band.on)
        o.band = {true, -kUnbounded, kUnbounded};
    (lower ? o.band.lower : o.band.upper) = limit;
    if (o.band.lower > o.band.upper)
        return optionText("--min больше, чем --max");
    return {};
}

QString applyDecimals(StationOptions &o, const QString &value)
{
    if (value == QLatin1String("auto")) {
        o.decimals = -1;
        return {};
    }
    bool ok = false;
    const int decimals = value.toInt(&ok);
    if (!ok || decimals < kMinDecimals || decimals > kMaxDecimals)
        return optionText("--decimals ждёт auto или число от 1 до 4, а не «%1»").arg(value);
    o.decimals = decimals;
    return {};
}

QString applyReport(StationOptions &o, const QString &value)
{
    if (value != QLatin1String("pdf") && value != QLatin1String("xlsx") && value != QLatin1String("both"))
        return optionText("--report ждёт pdf, xlsx или both, а не «%1»").arg(value);
    o.pdf = value != QLatin1String("xlsx");
    o.xlsx = value != QLatin1String("pdf");
    return {};
}

QString applyHistory(StationOptions &o, const QString &value)
{
    if (value.isEmpty())
        return optionText("--history ждёт default, none, файл .sqlite или адрес postgresql://");
    o.history = value;
    return {};
}

QString requireValue(const QString &value, const QString &name)
{
    return value.isEmpty() ? optionText("%1 ждёт значение").arg(name) : QString();
}

// The options in the order --help lists them; a new option is one more row.
const QVector<OptionEntry> &optionTable()
{
    static const QVector<OptionEntry> table = {
        {QStringLiteral("--port"), true,
         [](StationOptions &o, const QString &v) {
             const QString error = requireValue(v, QStringLiteral("--port"));
             if (error.isEmpty() && !o.ports.contains(v))
                 o.ports.append(v);
             return error;
         }},
        {QStringLiteral("--wait"), true, applyWait},
        {QStringLiteral("--blocks"), true, applyBlocks},
        {QStringLiteral("--band"), true, applyBand},
        {QStringLiteral("--min"), true,
         [](StationOptions &o, const QString &v) { return applyLimit(o, v, true); }},
        {QStringLiteral("--max"), true,
         [](StationOptions &o, const QString &v) { return applyLimit(o, v, false); }},
        {QStringLiteral("--decimals"), true, applyDecimals},
        {QStringLiteral("--report"), true, applyReport},
        {QStringLiteral("--out"), true,
         [](StationOptions &o, const QString &v) {
             o.outFolder = v;
             return requireValue(v, QStringLiteral("--out"));
         }},
        {QStringLiteral("--form"), true,
         [](StationOptions &o, const QString &v) {
             o.formPath = v;
             return requireValue(v, QStringLiteral("--form"));
         }},
        {QStringLiteral("--history"), true, applyHistory},
        {QStringLiteral("--sign"), true,
         [](StationOptions &o, const QString &v) {
             o.signCertificate = v;
             return requireValue(v, QStringLiteral("--sign"));
         }},
        {QStringLiteral("--sign-password-file"), true,
         [](StationOptions &o, const QString &v) {
             o.signPasswordFile = v;
             return requireValue(v, QStringLiteral("--sign-password-file"));
         }},
        {QStringLiteral("--json"), false,
         [](StationOptions &o, const QString &) {
             o.json = true;
             return QString();
         }},
        {QStringLiteral("--quiet"), false,
         [](StationOptions &o, const QString &) {
             o.quiet = true;
             return QString();
         }},
        {QStringLiteral("--help"), false,
         [](StationOptions &o, const QString &) {
             o.help = true;
             return QString();
         }},
    };
    return table;
}

const OptionEntry *findOption(const QString &name)
{
    for (const OptionEntry &entry : optionTable())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

} // namespace

ParsedOptions parseStationOptions(const QStringList &arguments)
{
    ParsedOptions parsed;
    bool bandGiven = false;
    bool limitGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        QString value;
        bool inlineValue = false;
        const int equals = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
            inlineValue = true;
        }
        const OptionEntry *entry = findOption(name);
        if (!entry) {
            parsed.error = name.startsWith(QLatin1Char('-')) ? optionText("неизвестный параметр %1").arg(name)
                                                             : optionText("лишний аргумент «%1»").arg(name);
            return parsed;
        }
        if (entry->takesValue && !inlineValue) {
            if (i + 1 >= arguments.size()) {
                parsed.error = optionText("%1 ждёт значение").arg(name);
                return parsed;
            }
            value = arguments.at(++i);
        } else if (!entry->takesValue && inlineValue) {
            parsed.error = optionText("%1 не принимает значения").arg(name);
            return parsed;
        }
        bandGiven = bandGiven || name == QLatin1String("--band");
        limitGiven = limitGiven || name == QLatin1String("--min") || name == QLatin1String("--max");
        if (bandGiven && limitGiven) {
            parsed.error = optionText("--band нельзя давать вместе с --min или --max");
            return parsed;
        }
        parsed.error = entry->apply(parsed.options, value);
        if (!parsed.error.isEmpty())
            return parsed;
    }
    // The password is never on the command line, and a password alone signs nothing.
    if (parsed.options.signCertificate.isEmpty() != parsed.options.signPasswordFile.isEmpty())
        parsed.error = optionText("--sign и --sign-password-file даются только вместе");
    return parsed;
}

QString stationUsage()
{
    return optionText("Использование: zrv-station [параметры]\n"
                      "Считывает прибор, оценивает каждый блок по допуску, пишет отчёты и историю.\n"
                      "\n"
                      "  --port PATH            порт прибора (можно несколько: читаются одновременно);\n"
                      "                         без него — первый прибор на последовательных портах системы\n"
                      "  --wait SECONDS         сколько ждать ответа прибора (по умолчанию 30)\n"
                      "  --blocks all|N[,N…]    какие блоки оценивать (по умолчанию все)\n"
                      "  --band MIN:MAX         допуск; или --min MIN, --max MAX для одной границы\n"
                      "  --decimals auto|1-4    знаков после запятой у значений в отчётах\n"
                      "  --report pdf|xlsx|both формат отчётов (по умолчанию pdf)\n"
                      "  --out DIR              папка отчётов\n"
                      "  --form FILE.json       поля отчёта (по умолчанию из config.json)\n"
                      "  --history default|none|FILE.sqlite|postgresql://…\n"
                      "                         история считываний (по умолчанию как в окне программы)\n"
                      "  --sign FILE.p12        подписать каждый отчёт PDF сертификатом из файла PKCS#12\n"
                      "  --sign-password-file FILE\n"
                      "                         пароль к нему: первая строка файла (только вместе с --sign)\n"
                      "  --json                 итог одним документом JSON на stdout\n"
                      "  --quiet                без хода работы на stderr\n"
                      "  --help                 эта справка\n"
                      "\n"
                      "Код возврата: 0 все блоки в допуске (или допуск не задан), 1 блок вне допуска,\n"
                      "2 прибор не найден или связь прервалась, 3 отчёт или история не записаны,\n"
                      "64 ошибка в параметрах, 130/143 прервано сигналом SIGINT/SIGTERM.\n");
}
