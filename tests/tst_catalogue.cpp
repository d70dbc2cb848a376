// The English catalogue: the texts the code translates outside the form have
// their entries (the form's own are checked by the form test), and the
// catalogue holds no entry left unfinished.

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// One message of the catalogue file.
struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "obsolete", "vanished" or empty
};

QVector<Message> catalogueMessages()
{
    QVector<Message> messages;
    QFile file(QStringLiteral(ZRV_CATALOGUE_SOURCE));
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = Message{context, QString(), QString(), QString()};
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText();
            messages.append(message);
        }
    }
    return messages;
}

QString translated(const QString &context, const QString &source)
{
    QTranslator translator;
    if (!translator.load(QStringLiteral(":/i18n/ts.qm"), QString(), QString(), QString()))
        return QStringLiteral("<no catalogue>");
    QCoreApplication::installTranslator(&translator);
    const QString text =
        QCoreApplication::translate(context.toLatin1().constData(), source.toUtf8().constData());
    QCoreApplication::removeTranslator(&translator);
    return text;
}

} // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    // Every text the code translates has its English entry.
    void requiredEntries_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("english");
        const auto row = [](const char *context, const char *ru, const char *en) {
            QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(
                QLatin1String(context),
                QString::fromUtf8(en).left(40).replace(QLatin1Char('\n'), QLatin1Char(' ')))))
                << QString::fromLatin1(context) << QString::fromUtf8(ru) << QString::fromUtf8(en);
        };
        row("MainWindow", "Добавить логотип", "Add logo");
        row("MainWindow", "Удалить", "Remove logo");
        row("MainWindow", "Экспорт в PDF", "Export to PDF");
        row("MainWindow", "Экспорт в Excel", "Export to Excel");
        row("MainWindow", "Отчет", "Report");
        row("MainWindow", "Включать незаполненные поля в отчет?", "Include empty fields into the report?");
        row("MainWindow", "Да", "Yes");
        row("MainWindow", "Нет", "No");
        row("MainWindow", "Ошибка", "Error");
        row("MainWindow",
            "Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и не открыта ли прошлая "
            "версия файла.",
            "Failed to save the file.\nPlease check write permissions and whether the previous version of "
            "the file is open.");
        row("MainWindow", "Отчет о проведении контроля", "Test report");
        row("MainWindow", "ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ", "TEST REPORT");
        row("MainWindow", "Допуск: [", "Tolerance: [");
        row("MainWindow", "Номер", "Number");
        row("MainWindow", "Контроль проведён____________________________________________, подпись",
            "Testing carried out________________________________,signature");
        row("MainWindow", "Контроль проведён____________________________________, подпись",
            "Testing carried out____________________________________,signature");
        row("MainWindow", "Обычный размер", "Default font size");
        row("MainWindow", "Диапазон графиков: от", "Graph range: from");
        row("MainWindow", "Диапазон графиков: до", "Graph range: to");
        row("MainWindow", "От: нижняя граница оси значений на обоих графиках",
            "From: the lower end of the value axis of both plots");
        row("MainWindow", "До: верхняя граница оси значений на обоих графиках",
            "To: the upper end of the value axis of both plots");
        row("MainWindow",
            "Колесо мыши меняет масштаб по номерам измерений, Shift+колесо — по значениям; перетаскивание "
            "мышью "
            "сдвигает графики.",
            "The mouse wheel zooms the measurement numbers, Shift+wheel the values; drag with the mouse to "
            "move the "
            "plots.");
        row("MainWindow", "Настройки", "Settings");
        row("MainWindow",
            "Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.\n"
            "Прежний файл сохранён как %2.",
            "The settings file %1 could not be read; the program started with empty settings.\n"
            "The previous file was kept as %2.");
        row("MainWindow",
            "Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.\n"
            "Сохранить его копию не удалось; при выходе он не будет перезаписан.",
            "The settings file %1 could not be read; the program started with empty settings.\n"
            "A copy of it could not be made; it will not be overwritten at exit.");
        row("MainWindow",
            "Настройки не удалось сохранить в папке %1.\n"
            "Проверьте, что в неё можно записывать и что на диске есть место.",
            "The settings could not be saved in the folder %1.\n"
            "Check that the folder can be written and that the disk has free space.");
        row("MainWindow", "MainWindow", "MainWindow");
        row("MainWindow", "...", "...");
        row("MainWindow", "Данные", "Data");
        row("MainWindow", "История измерений…", "Measurement history…");
        row("HistoryTexts", "История измерений", "Measurement history");
        row("HistoryTexts", "сервер истории недоступен", "the history server cannot be reached");
        row("HistoryTexts", "не удалось открыть файл истории", "the history file cannot be opened");
        row("HistoryTexts", "база истории занята другой программой",
            "the history database is locked by another program");
        row("HistoryTexts", "нет места для записи", "no space left to write");
        row("HistoryTexts", "база истории повреждена", "the history database is damaged");
        row("HistoryTexts", "не удалось записать в базу истории", "the history database refused the write");
        row("HistoryTexts",
            "История измерений: %1. Чтения сохраняются на этом компьютере и будут отправлены на сервер, "
            "когда он станет "
            "доступен.",
            "Measurement history: %1. Reads are kept on this computer and will be sent to the server when it "
            "is back.");
        row("HistoryTexts",
            "История измерений: %1. Чтение показано и будет записано в историю, как только это станет "
            "возможно.",
            "Measurement history: %1. The read is shown and will be written to the history as soon as "
            "possible.");
        row("HistoryTexts",
            "Сервер истории недоступен: чтение сохранено на этом компьютере (ожидают отправки: %1).",
            "History server unavailable: the read is kept on this computer (waiting to be sent: %1).");
        row("HistoryTexts", "Сервер истории доступен: отправлено чтений, сохранённых на этом компьютере: %1.",
            "History server is back: reads sent from this computer: %1.");
        row("HistoryTexts", "История измерений снова доступна: записано отложенных чтений: %1.",
            "Measurement history is available again: delayed reads written: %1.");
        row("HistoryTexts", "Файл истории был повреждён и сохранён как %1; начат новый файл истории.",
            "The history file was damaged and has been kept as %1; a new history file was started.");
        row("HistoryTexts", "Из истории: %1", "From history: %1");
        row("HistoryTexts", "Идёт чтение прибора: откройте запись из истории после его окончания.",
            "The instrument is being read: open the stored read once it has finished.");
        row("HistoryDialog", "№", "No.");
        row("HistoryDialog", "Блок", "Block");
        row("HistoryDialog", "Ожидалось", "Expected");
        row("HistoryDialog", "Удалить из истории выбранные чтения (%1)?",
            "Delete the selected reads (%1) from the history?");
        row("HistoryDialog", "Экспорт в CSV", "Export to CSV");
        row("HistoryDialog", "Файлы CSV (*.csv)", "CSV files (*.csv)");
        row("HistoryDialog", "Номер", "Number");
        row("HistoryDialog", "Значение", "Value");
        row("HistoryDialog", "Ошибка", "Error");
        row("HistoryDialog", "Не удалось сохранить файл CSV.\nПроверьте права на запись и место на диске.",
            "Failed to save the CSV file.\nPlease check write permissions and free disk space.");
        row("HistoryDialog", "Сохранено: %1", "Saved: %1");
        row("HistoryDialog", "История недоступна: %1.", "The history is unavailable: %1.");
        row("ReadListModel", "завершено", "complete");
        row("ReadListModel", "отменено", "cancelled");
        row("LinkStatusBar", "Ожидание ответа прибора… %1 с", "Waiting for the instrument to answer… %1 s");
        row("BlockFaultText", "не прочитан: прибор отключён", "not read: the instrument was disconnected");
        row("BlockFaultText", "не прочитан: чтение прервано", "not read: the read was cancelled");
        row("BlockFaultText", "прибор не ответил", "the instrument did not answer");
        row("BlockFaultText", "прибор ответил ошибкой", "the instrument answered with an error");
        row("StationRun", "ошибка запроса имени", "the name request failed");
        row("StationRun", "ошибка запроса размера", "the size request failed");
        row("StationRun", "ошибка запроса показаний", "the readings request failed");
        row("StationRun", "показания получены не полностью", "the readings came cut short");
        row("StationRun", "%1: блок %2 считан повторно", "%1: block %2 read again");
        row("StationRun", "%1: блок %2 не считан и после повтора: %3",
            "%1: block %2 not read, even when tried again: %3");
        row("StationRun", "%1: отчёт PDF не подписан и не сохранён: %2 (%3)",
            "%1: the PDF report was not signed and not kept: %2 (%3)");
        row("StationSigning", "файл сертификата не читается", "the certificate file cannot be read");
        row("StationSigning", "неверный пароль", "wrong password");
        row("StationSigning", "нет закрытого ключа", "no private key");
        row("StationSigning", "срок действия сертификата истёк", "the certificate has expired");
        row("StationSigning", "сертификат ещё не действует", "the certificate is not yet valid");
        row("StationSigning", "ключ не годится для подписи", "the key cannot sign");
        row("StationSigning", "файл пароля не читается", "the password file cannot be read");
        row("StationSigning", "отчёт не читается", "the report cannot be read");
        row("StationSigning", "подпись не создана", "the signature could not be made");
        row("StationSigning", "подписанный файл не записан", "the signed file could not be written");
        row("StationOptions", "--sign и --sign-password-file даются только вместе",
            "--sign and --sign-password-file go together");
        row("ReportExport", "Подписано: %1, %2", "Signed: %1, %2");
        row("AnalysisReport", "Анализ", "Analysis");
        row("AnalysisReport", "Карта индивидуальных значений (I)", "Individuals chart (I)");
        row("AnalysisReport", "Карта скользящих размахов (MR)", "Moving range chart (MR)");
        row("AnalysisReport", "Нарушения правил", "Broken rules");
        row("SigningPrompts", "Неверный пароль к сертификату.", "Wrong certificate password.");
        row("SigningPrompts", "Срок действия сертификата истёк.", "The certificate has expired.");
        row("SigningPrompts", "Сертификат ещё не действует.", "The certificate is not yet valid.");
        row("SigningPrompts", "В файле сертификата нет закрытого ключа.",
            "The certificate file holds no private key.");
        row("SigningPrompts", "Ключ сертификата не годится для подписи.",
            "The certificate's key cannot sign.");
        row("SigningPrompts", "Файл сертификата не удалось прочитать.",
            "The certificate file could not be read.");
        row("SigningPrompts", "Подписать файл отчёта не удалось.", "The report file could not be signed.");
        row("SigningPrompts", "Пароль к сертификату %1:", "Password for the certificate %1:");
        row("ReportSigning", "Отчёт не подписан. %1", "The report is not signed. %1");
        row("ReportSigning", "%1\n\nСохранить отчёт без подписи?", "%1\n\nSave the report unsigned?");
        row("ReportSigning", "Сохранить без подписи", "Save unsigned");
        row("ReportSigning", "Сертификат для подписи не выбран: Данные → Подпись отчётов…",
            "No signing certificate chosen: Data → Report signing…");
        row("SigningDialog", "Подпись отчётов", "Report signing");
        row("SigningDialog", "Сертификат годен для подписи.", "The certificate can sign.");
        row("SigningDialog", "Этим сертификатом подписать нельзя. %1", "This certificate cannot sign. %1");
    }
    void requiredEntries()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, english);
        QCOMPARE(translated(context, source), english);
    }

    // No entry for a source text is left unfinished or empty, and the built
    // catalogue gives each one as written.
    void noUnfinishedEntry()
    {
        const QVector<Message> messages = catalogueMessages();
        QVERIFY(messages.size() > 100);
        for (const Message &message : messages) {
            const QString where = message.context + QStringLiteral(": ") + message.source;
            QVERIFY2(message.type.isEmpty(), qPrintable(where + QStringLiteral(" is ") + message.type));
            QVERIFY2(!message.translation.isEmpty(), qPrintable(where));
            QCOMPARE(translated(message.context, message.source), message.translation);
        }
    }
};

QTEST_GUILESS_MAIN(CatalogueTest)

#include "tst_catalogue.moc"
