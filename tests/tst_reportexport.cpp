// The export commands through the real window: save dialog, locked files, the
// empty-fields question, what the written files hold and when they are opened.
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "openedfiles.h"
#include "report/exportpath.h"
#include "reporttestdata.h"
#include "testports.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What the dialogs of one export showed.
struct ExportSeen
{
    QString dialogCaption;
    QString proposedPath;
    QString filter;
    QStringList messageTitles; // boxes without a parent, in order
    QStringList messageTexts;
    QStringList buttonTexts; // "|"-joined per box
    bool questionAsked = false;
};

// Answers the modal dialogs of one export while it lives: the save dialog with
// `path` (cancelled when empty), Qt's own "replace it?" confirmation with yes,
// the empty-fields question with `yes` (after running `onQuestion`), any other
// box with Ok.
class ExportAnswerer : public QObject
{
public:
    ExportAnswerer(ExportSeen *seen, const QString &path, bool yes, std::function<void()> onQuestion = {})
        : seen(seen)
        , path(path)
        , yes(yes)
        , onQuestion(std::move(onQuestion))
    {
        connect(&poll, &QTimer::timeout, this, &ExportAnswerer::answer);
        poll.start(10);
    }

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            seen->dialogCaption = dialog->windowTitle();
            seen->proposedPath = dialog->selectedFiles().value(0);
            seen->filter = dialog->nameFilters().join(';');
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(path);
            // Queued: the dialog's own boxes run inside accept(), and this
            // timer cannot fire again until its slot returns.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        if (box->parentWidget()) { // the file dialog's replace confirmation
            box->button(QMessageBox::Yes)->click();
            return;
        }
        seen->messageTitles.append(box->windowTitle());
        seen->messageTexts.append(box->text());
        QStringList buttons;
        for (QAbstractButton *button : box->buttons())
            buttons.append(button->text());
        seen->buttonTexts.append(buttons.join('|'));
        if (box->icon() == QMessageBox::Question) {
            seen->questionAsked = true;
            if (onQuestion)
                onQuestion();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        } else if (QAbstractButton *ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->close();
        }
    }

    ExportSeen *seen;
    QString path;
    bool yes;
    std::function<void()> onQuestion;
    QTimer poll;
};

QString pdfText(const QString &path)
{
    return QString::fromUtf8(runReader(QStringLiteral("pdftotext"), {"-layout", path, "-"}));
}

QJsonObject readWorkbook(const QString &path)
{
    const QString reader = QFINDTESTDATA("readers/xlsx_dump.py");
    return QJsonDocument::fromJson(runReader(QStringLiteral("/usr/bin/python3"), {reader, path})).object();
}

// Every text cell of the workbook, in one string.
QString workbookText(const QJsonObject &book)
{
    QStringList texts;
    const QJsonObject cells = book.value("cells").toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it)
        texts.append(it.value().toObject().value("value").toVariant().toString());
    return texts.join('\n');
}

int pdfImageCount(const QString &path, int width, int height)
{
    const QString list = QString::fromUtf8(runReader(QStringLiteral("pdfimages"), {"-list", path}));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    int count = 0;
    for (const QString &line : list.split('\n').mid(2)) {
        const QStringList cells = line.split(space, Qt::SkipEmptyParts);
        if (cells.size() > 4 && cells.at(2) == "image" && cells.at(3).toInt() == width
            && cells.at(4).toInt() == height)
            ++count;
    }
    return count;
}

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private:
    OpenedFiles opened;
    QScopedPointer<MainWindow> window;
    QTemporaryDir dir;

    Ui::MainWindow *ui() { return MainWindowTester::ui(*window); }

    // Two blocks; the second is the one shown, the first the list's current row.
    void prepareWindow()
    {
        freshSettingsFolder();
        window.reset(new MainWindow(noPorts()));
        MainWindowTester::setBlocks(*window,
                                    {{"T 0001", {1.0f, 2.0f, 3.0f}}, {"T 0002", {5.25f, 6.0f, 7.0f, 8.0f}}});
        ui()->block_names_list->setCurrentRow(0);
        MainWindowTester::showBlock(*window, 1);
        ui()->report_date_edit->setDate(QDate(2024, 2, 1));
        for (QLineEdit *edit : ui()->centralwidget->findChildren<QLineEdit *>())
            if (edit->parent() != ui()->report_date_edit)
                edit->clear();
        ui()->company_name->setText(QStringLiteral("ООО Ромашка"));
        ui()->report_graph_checkbox->setChecked(false);
        ui()->report_diagram_checkbox->setChecked(false);
        ui()->set_limits_checkbox->setChecked(false);
        opened.urls.clear();
    }

    ExportSeen runExport(QPushButton *button, const QString &path, bool yes,
                         std::function<void()> onQuestion = {})
    {
        ExportSeen seen;
        ExportAnswerer answerer(&seen, path, yes, std::move(onQuestion));
        button->click();
        return seen;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        // A Qt dialog, so that the test can answer it.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void init() { prepareWindow(); }
    void cleanup() { window.reset(); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name"); // proposed file name, time as ##
        QTest::newRow("pdf with a number") << true << "17"
                                           << "Экспорт в PDF"
                                           << "Отчет 17 ##.pdf";
        QTest::newRow("excel, empty number") << false << ""
                                             << "Экспорт в Excel"
                                             << "Отчет  ##.xlsx";
        QTest::newRow("pdf, number one space") << true << " "
                                               << "Экспорт в PDF"
                                               << "Отчет ##.pdf";
    }

    void cancelWritesNothing()
    {
        QFETCH(bool, pdf);
        QFETCH(QString, number);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        ui()->report_number->setText(number);
        const ExportSeen seen =
            runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, QString(), true);
        QCOMPARE(seen.dialogCaption, caption);
        QRegularExpression expected("^"
                                    + QRegularExpression::escape(defaultReportFolder() + name)
                                          .replace("\\#\\#", "\\d\\d_\\d\\d_\\d\\d")
                                    + "$");
        QVERIFY2(expected.match(seen.proposedPath).hasMatch(), qPrintable(seen.proposedPath));
        QCOMPARE(seen.filter, pdf ? QStringLiteral("(*.pdf)") : QStringLiteral("(*.xlsx)"));
        QVERIFY(seen.messageTexts.isEmpty());
        QVERIFY(opened.urls.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void writesAndOpens_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<bool>("includeEmpty");
        QTest::newRow("pdf, yes") << true << true;
        QTest::newRow("pdf, no") << true << false;
        QTest::newRow("excel, yes") << false << true;
        QTest::newRow("excel, no") << false << false;
    }

    void writesAndOpens()
    {
        QFETCH(bool, pdf);
        QFETCH(bool, includeEmpty);
        const QString path = dir.filePath(pdf ? "flow.pdf" : "flow.xlsx");
        QFile::remove(path);
        const ExportSeen seen =
            runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, includeEmpty);
        QVERIFY(seen.questionAsked);
        QCOMPARE(seen.messageTexts, QStringList{"Включать незаполненные поля в отчет?"});
        QCOMPARE(seen.messageTitles, QStringList{QString()});
        QVERIFY(seen.buttonTexts.first().split('|').contains("Да"));
        QVERIFY(seen.buttonTexts.first().split('|').contains("Нет"));
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});

        const QString text = pdf ? pdfText(path) : workbookText(readWorkbook(path));
        QVERIFY(text.contains(QStringLiteral("ООО Ромашка")));
        QVERIFY(text.contains(QStringLiteral("01.02.2024")));
        QCOMPARE(text.contains(QStringLiteral("Оператор")), includeEmpty);
        QCOMPARE(text.contains(QStringLiteral("Данные о приборе")), includeEmpty);
        // The shown block, not the list's current row: four values, header 0002,
        // differences from the shown mean.
        QVERIFY(text.contains(QStringLiteral("0002")));
        QVERIFY(!text.contains(QStringLiteral("0001")));
        for (const char *piece : {"5.3", "8.0", "1.3", "-1.4"})
            QVERIFY2(text.contains(QLatin1String(piece)), piece);
        QVERIFY(text.contains(pdf ? QStringLiteral("Отчет о проведении контроля")
                                  : QStringLiteral("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ")));
        QVERIFY(text.contains(pdf ? "Контроль проведён" + QString(44, '_') + ", подпись"
                                  : "Контроль проведён" + QString(36, '_') + ", подпись"));
    }

    void replacesAnExistingFile()
    {
        const QString path = dir.filePath("existing.xlsx");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
        old.close();
        const ExportSeen seen = runExport(ui()->button_export_to_excel, path, false);
        QVERIFY(seen.questionAsked);
        QCOMPARE(opened.urls.size(), 1);
        QVERIFY(workbookText(readWorkbook(path)).contains(QStringLiteral("ООО Ромашка")));
    }

    // A comment longer than a cell holds: the workbook is still written, the
    // user is told, and the file is opened.
    void excelShortensOverlongText()
    {
        ui()->comments_text->setPlainText(QString(40000, QLatin1Char('z')));
        const QString path = dir.filePath("long.xlsx");
        const ExportSeen seen = runExport(ui()->button_export_to_excel, path, true);
        QCOMPARE(seen.messageTexts.size(), 2);
        QCOMPARE(seen.messageTexts.at(1), QStringLiteral("Текст длиннее 32767 знаков не помещается в "
                                                         "ячейку Excel и был сокращён."));
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});
        QVERIFY(workbookText(readWorkbook(path)).contains(QString(32767, QLatin1Char('z'))));
    }

    void lockedTarget_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("pdf") << true;
        QTest::newRow("excel") << false;
    }

    // An existing target that cannot be opened for reading and writing: the
    // error box, no question, the file untouched, nothing opened.
    void lockedTarget()
    {
        QFETCH(bool, pdf);
        const QString path = dir.filePath(pdf ? "locked.pdf" : "locked.xlsx");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
        old.close();
        if (!makeUnwritable(path))
            QSKIP("no way to make a file unwritable for this user here");
        const ExportSeen seen =
            runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, true);
        makeWritable(path);
        QVERIFY(!seen.questionAsked);
        QCOMPARE(seen.messageTitles, QStringList{QStringLiteral("Ошибка")});
        QCOMPARE(seen.messageTexts.last(),
                 QStringLiteral("Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и "
                                "не открыта ли прошлая версия файла."));
        QVERIFY(opened.urls.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old contents"));
    }

    // A folder that cannot take the file: the error box after the question, nothing opened.
    void failedWriteOpensNothing_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("pdf") << true;
        QTest::newRow("excel") << false;
    }

    void failedWriteOpensNothing()
    {
        QFETCH(bool, pdf);
        const QString folder = dir.filePath("gone");
        QVERIFY(QDir(dir.path()).mkdir("gone"));
        const QString path = folder + (pdf ? "/report.pdf" : "/report.xlsx");
        // The folder disappears while the question is open.
        const ExportSeen seen = runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel,
                                          path, true, [folder] { QDir(folder).removeRecursively(); });
        QVERIFY(seen.questionAsked);
        QCOMPARE(seen.messageTitles.size(), 2);
        QCOMPARE(seen.messageTitles.last(), QStringLiteral("Ошибка"));
        QVERIFY(opened.urls.isEmpty());
        QVERIFY(!QFile::exists(path));
    }

    void plotsAndTolerance_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<bool>("graph");
        QTest::addColumn<bool>("diagram");
        QTest::addColumn<bool>("limits");
        QTest::newRow("pdf, graph, band") << true << true << false << true;
        QTest::newRow("pdf, band without plots") << true << false << false << true;
        QTest::newRow("excel, diagram, band") << false << false << true << true;
        QTest::newRow("excel, both plots, no band") << false << true << true << false;
    }

    void plotsAndTolerance()
    {
        QFETCH(bool, pdf);
        QFETCH(bool, graph);
        QFETCH(bool, diagram);
        QFETCH(bool, limits);
        ui()->report_graph_checkbox->setChecked(graph);
        ui()->report_diagram_checkbox->setChecked(diagram);
        ui()->set_limits_checkbox->setChecked(limits);
        ui()->limits_min->setValue(0.0);
        ui()->limits_max->setValue(5.5);
        const QSize graphSize = ui()->graph->size();
        const QString path = dir.filePath(pdf ? "plots.pdf" : "plots.xlsx");
        QFile::remove(path);
        const ExportSeen seen =
            runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, true);
        QVERIFY(seen.questionAsked);
        QCOMPARE(opened.urls.size(), 1);
        const int plots = int(graph) + int(diagram);
        const bool band = limits && plots > 0;
        if (pdf) {
            QCOMPARE(pdfImageCount(path, 600, 400), plots);
            QCOMPARE(pdfText(path).contains(QStringLiteral("Допуск: [0; 5.5]")), band);
        } else {
            const QJsonObject book = readWorkbook(path);
            const QJsonArray images = book.value("images").toArray();
            QCOMPARE(images.size(), plots);
            for (const QJsonValue &image : images) {
                QCOMPARE(image.toObject().value("width").toInt(), 522);
                QCOMPARE(image.toObject().value("height").toInt(), 313);
                QCOMPARE(image.toObject().value("col").toInt(), 0);
            }
            QCOMPARE(workbookText(book).contains(QStringLiteral("Допуск: [0; 5.5]")), band);
        }
        if (graph) {
            // The plot keeps the size it had, pinned to it.
            QCOMPARE(ui()->graph->minimumSize(), graphSize);
            QCOMPARE(ui()->graph->maximumSize(), graphSize);
        }
    }

    void englishTexts_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("pdf") << true
                             << QStringList{"Test report", "Number", "Data statistics", "Notes",
                                            "Testing carried out" + QString(32, '_') + ",signature"};
        QTest::newRow("excel") << false
                               << QStringList{"TEST REPORT", "Number",
                                              "Testing carried out" + QString(36, '_') + ",signature"};
    }

    void englishTexts()
    {
        QFETCH(bool, pdf);
        QFETCH(QStringList, texts);
        ui()->actionEN->trigger();
        const QString path = dir.filePath(pdf ? "english.pdf" : "english.xlsx");
        QFile::remove(path);
        const ExportSeen seen =
            runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, false);
        ui()->actionRU->trigger();
        QCOMPARE(seen.dialogCaption,
                 pdf ? QStringLiteral("Export to PDF") : QStringLiteral("Export to Excel"));
        QVERIFY2(QFileInfo(seen.proposedPath).fileName().startsWith("Report "),
                 qPrintable(seen.proposedPath));
        QCOMPARE(seen.messageTexts, QStringList{"Include empty fields into the report?"});
        QVERIFY(seen.buttonTexts.first().split('|').contains("Yes"));
        QVERIFY(seen.buttonTexts.first().split('|').contains("No"));
        const QString text = pdf ? pdfText(path) : workbookText(readWorkbook(path));
        for (const QString &piece : texts)
            QVERIFY2(text.contains(piece), qPrintable(piece));
        QVERIFY(!text.contains(QStringLiteral("Отчет")));
        QVERIFY(!text.contains(QStringLiteral("ОТЧЕТ")));
    }
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
