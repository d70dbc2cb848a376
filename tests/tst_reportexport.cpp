// The export commands through the real window: save dialog, locked files, the
// empty-fields question, what the written files hold and when they are opened.
#include "exportanswerer.h"
#include "filefaults.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "openedfiles.h"
#include "pdfreader.h"
#include "report/exportpath.h"
#include "toolrun.h"
#include "windowtestmain.h"
#include "xlsxreader.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

namespace {

const QString kFailureText = QStringLiteral(
    "Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и не открыта ли прошлая "
    "версия файла.");

// Calls back each time a widget paints.
class PaintWatcher : public QObject
{
public:
    PaintWatcher(QWidget *widget, std::function<void()> onPaint)
        : onPaint(std::move(onPaint))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            onPaint();
        return false;
    }

private:
    std::function<void()> onPaint;
};

// The sheet row whose column A holds the number cell of that measurement; 0: none.
int rowOfNumber(const QJsonObject &cells, int number)
{
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QJsonObject cell = it.value().toObject();
        if (it.key().startsWith('A') && cell.value("type").toString() == QStringLiteral("n")
            && cell.value("value").toInt() == number)
            return it.key().mid(1).toInt();
    }
    return 0;
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
        window->blockList().showRead({{"T 0001", {1.0f, 2.0f, 3.0f}}, {"T 0002", {5.25f, 6.0f, 7.0f, 8.0f}}});
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
                                             << "Отчет ##.xlsx";
        QTest::newRow("pdf, number one space") << true << " "
                                               << "Экспорт в PDF"
                                               << "Отчет ##.pdf";
        // The slash would name a folder; the file stays in the proposed one.
        QTest::newRow("excel, number with a slash") << false << "17/2024-К"
                                                    << "Экспорт в Excel"
                                                    << "Отчет 17_2024-К ##.xlsx";
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
        QCOMPARE(seen.messageTexts.last(), kFailureText);
        // The cause below the general text.
        QCOMPARE(seen.messageCauses.last(), QStringLiteral("Причина: файл открыт в другой программе."));
        QVERIFY(opened.urls.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old contents"));
    }

    // Long report numbers: the proposed name, taken as it is, fits the file
    // system and the report is written there.
    void longNumberProposesAWritableName_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("number");
        QTest::newRow("pdf, 300 Latin characters") << true << QString(300, QLatin1Char('N'));
        QTest::newRow("excel, 300 Latin characters") << false << QString(300, QLatin1Char('N'));
        QTest::newRow("pdf, 130 Cyrillic characters") << true << QString(130, QChar(0x0416));
        QTest::newRow("excel, 130 Cyrillic characters") << false << QString(130, QChar(0x0416));
    }

    void longNumberProposesAWritableName()
    {
        QFETCH(bool, pdf);
        QFETCH(QString, number);
        ui()->report_number->setText(number);
        QTemporaryDir target;
        const ExportSeen seen = runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel,
                                          target.path() + '/', false);
        const QString name = QFileInfo(seen.proposedPath).fileName();
        QVERIFY2(name.toUtf8().size() <= 255, qPrintable(QString::number(name.toUtf8().size())));
        QVERIFY(name.startsWith(QStringLiteral("Отчет ") + number.left(100)));
        QCOMPARE(seen.messageTexts, QStringList{"Включать незаполненные поля в отчет?"});
        const QString path = target.filePath(name);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});
        const QString text = pdf ? pdfText(path) : workbookText(readWorkbook(path));
        QVERIFY(text.contains(QStringLiteral("ООО Ромашка")));
    }

    // A save that fails says why: the name or the folder (a full disk keeps
    // the generic text, see the report-target faults).
    void failureTellsItsCause_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause");
        const QString longName = QStringLiteral("Причина: имя файла длиннее 255 байт.");
        const QString folder = QStringLiteral("Причина: в папку нельзя записывать.");
        for (const bool pdf : {true, false}) {
            const QByteArray kind = pdf ? "pdf, " : "excel, ";
            QTest::newRow((kind + "name over 255 bytes").constData()) << pdf << "long name" << longName;
            QTest::newRow((kind + "unwritable folder").constData()) << pdf << "unwritable folder" << folder;
            QTest::newRow((kind + "missing folder").constData()) << pdf << "missing folder" << folder;
        }
    }

    void failureTellsItsCause()
    {
        QFETCH(bool, pdf);
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        QTemporaryDir target;
        const QString extension = pdf ? QStringLiteral(".pdf") : QStringLiteral(".xlsx");
        QString folder = target.path();
        QString path = folder + '/' + QString(130, QChar(0x0416)) + extension;
        ImmutableGuard guard;
        if (kind == QLatin1String("unwritable folder")) {
            path = folder + QStringLiteral("/report") + extension;
            if (!setImmutable(folder, true))
                QSKIP("no way to make a folder unwritable here");
            guard.path = folder;
        } else if (kind == QLatin1String("missing folder")) {
            folder = target.filePath(QStringLiteral("нет такой папки"));
            path = folder + QStringLiteral("/report") + extension;
        }
        const ExportSeen seen =
            runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, false);
        QVERIFY(seen.questionAsked);
        QCOMPARE(seen.messageTitles.size(), 2);
        QCOMPARE(seen.messageTitles.last(), QStringLiteral("Ошибка"));
        QCOMPARE(seen.messageTexts.last(), kFailureText);
        QCOMPARE(seen.messageCauses.last(), cause);
        QVERIFY(opened.urls.isEmpty());
        QVERIFY(!QFile::exists(path));
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
        // The band is described whenever it is on, with or without plots.
        QTest::newRow("pdf, band without plots") << true << false << false << true;
        QTest::newRow("excel, band without plots") << false << false << false << true;
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
        const QSize minimum = ui()->graph->minimumSize();
        const QSize maximum = ui()->graph->maximumSize();
        const QString path = dir.filePath(pdf ? "plots.pdf" : "plots.xlsx");
        QFile::remove(path);
        const ExportSeen seen =
            runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, true);
        QVERIFY(seen.questionAsked);
        QCOMPARE(opened.urls.size(), 1);
        const int plots = int(graph) + int(diagram);
        const bool band = limits;
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
        // The plot keeps the constraints it had, not pinned to its size.
        QCOMPARE(ui()->graph->minimumSize(), minimum);
        QCOMPARE(ui()->graph->maximumSize(), maximum);
    }

    // The form's unit reaches both reports: after the value header and the tolerance.
    void unitFromTheForm_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("pdf") << true;
        QTest::newRow("excel") << false;
    }

    void unitFromTheForm()
    {
        QFETCH(bool, pdf);
        ui()->report_unit->setText(QStringLiteral("мкм"));
        ui()->set_limits_checkbox->setChecked(true);
        ui()->limits_min->setValue(0.0);
        ui()->limits_max->setValue(5.5);
        const QString path = dir.filePath(pdf ? "unit.pdf" : "unit.xlsx");
        QFile::remove(path);
        QVERIFY(runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, true)
                    .questionAsked);
        const QString text = pdf ? pdfText(path) : workbookText(readWorkbook(path));
        QVERIFY2(text.contains(QStringLiteral("0002 [мкм]")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Допуск: [0; 5.5] мкм")));
        QCOMPARE(ui()->graph->yAxis->label(), QStringLiteral("мкм"));
    }

    // After an export the plots still follow the window.
    void plotsFollowTheWindowAfterAnExport()
    {
        window->resize(1200, 860);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        ui()->report_graph_checkbox->setChecked(true);
        ui()->report_diagram_checkbox->setChecked(true);
        const QString path = dir.filePath("follow.pdf");
        QFile::remove(path);
        runExport(ui()->button_export_to_PDF, path, true);
        QVERIFY(QFile::exists(path));
        const QSize graph = ui()->graph->size();
        const QSize diagram = ui()->diagram->size();
        window->resize(window->width() + 200, window->height() + 150);
        QTRY_VERIFY(ui()->graph->width() > graph.width());
        QVERIFY(ui()->diagram->width() > diagram.width());
    }

    // The status bar says where the report went and opens its folder.
    void statusNamesTheReport_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("pdf") << true;
        QTest::newRow("excel") << false;
    }

    void statusNamesTheReport()
    {
        QFETCH(bool, pdf);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        auto *saved = window->statusBar()->findChild<QLabel *>(QStringLiteral("report_saved_label"));
        auto *link = window->statusBar()->findChild<QLabel *>(QStringLiteral("report_folder_link"));
        QVERIFY(saved && link);
        QVERIFY(!saved->isVisible());
        QVERIFY(!link->isVisible());

        const QString path = dir.filePath(pdf ? "status.pdf" : "status.xlsx");
        runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, true);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});
        QVERIFY(saved->isVisible());
        QCOMPARE(saved->text(), QStringLiteral("Отчёт сохранён: ") + QDir::toNativeSeparators(path));
        QVERIFY(link->isVisible());
        QVERIFY(link->text().contains(QStringLiteral("Открыть папку")));
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
        QCOMPARE(opened.urls.size(), 2);
        QCOMPARE(opened.urls.last(), QUrl::fromLocalFile(dir.path()));

        // A report that could not be written is not said to be saved.
        const QString folder = dir.filePath("vanishing");
        QVERIFY(QDir(dir.path()).mkpath("vanishing"));
        runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, folder + "/r", true,
                  [folder] { QDir(folder).removeRecursively(); });
        QVERIFY(!saved->isVisible());
        QVERIFY(!link->isVisible());
    }

    // A long PDF: the busy cursor and the page being written are shown, and
    // the window repaints while the pages are written.
    void pdfProgress()
    {
        QVector<float> values(6000);
        for (int i = 0; i < values.size(); ++i)
            values[i] = float(10 + i % 13);
        window->blockList().showRead({{"T 0003", values}});
        MainWindowTester::showBlock(*window, 0);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
        auto *bar = window->statusBar()->findChild<QProgressBar *>(QStringLiteral("report_progress"));
        QVERIFY(bar);
        QVERIFY(!bar->isVisible());

        struct Painted
        {
            int value;
            QString text;
            bool busy;
        };
        QVector<Painted> painted;
        PaintWatcher watcher(bar, [&] {
            const QCursor *cursor = QGuiApplication::overrideCursor();
            painted.append({bar->value(), bar->text(), cursor && cursor->shape() == Qt::WaitCursor});
        });
        const QString path = dir.filePath("long.pdf");
        runExport(ui()->button_export_to_PDF, path, true);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});

        const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
        const int pages =
            pagesLine.match(QString::fromUtf8(runReader("pdfinfo", {path}))).captured(1).toInt();
        QVERIFY(pages > 10);
        QVERIFY2(painted.size() > 1, qPrintable(QString::number(painted.size())));
        int last = 0;
        for (const Painted &paint : painted) {
            QVERIFY(paint.busy);
            QVERIFY(paint.value >= last && paint.value <= pages);
            QCOMPARE(paint.text, QStringLiteral("Страница %1 из %2").arg(paint.value).arg(pages));
            last = paint.value;
        }
        QVERIFY(last > 1);
        QVERIFY(!bar->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // A table of blocks against the band 9.6 .. 10.0, in both reports: which
    // block, how many readings, which are out of band, the verdict; and the
    // statistics as they are, however large.
    void reportsJudgeTheBlock_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<QStringList>("verdict");    // out of band, verdict, Cp, Cpk, Pp, Ppk
        QTest::addColumn<QStringList>("statistics"); // min, max, mean, σ as printed
        QTest::addColumn<QStringList>("red");        // value texts printed red, with their marks, sorted
        QTest::addColumn<QStringList>("rows");       // "value difference" per reading; empty: not checked
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const QString dash(QChar(0x2014));
        struct Block
        {
            const char *name;
            QVector<float> values;
            QStringList verdict;
            QStringList statistics;
            QStringList red;
            QStringList rows;
        };
        const Block blocks[] = {
            {"in band",
             {9.7f, 9.8f, 9.9f, 10.0f},
             {"0 из 4 (0.0 %)", "Соответствует", "0.75", "0.56", "0.52", "0.39"},
             {"9.7", "10.0", "9.8", "0.1"},
             {}},
            {"out at both ends",
             {9.5f, 9.8f, 10.1f},
             {"2 из 3 (66.7 %)", "Не соответствует", "0.25", "0.25", "0.22", "0.22"},
             {"9.5", "10.1", "9.8", "0.3"},
             {"10.1 ▲", "9.5 ▼"}},
            {"9.56 against 9.6",
             {9.56f, 9.8f},
             {"1 из 2 (50.0 %)", "Не соответствует", "0.31", "0.13", "0.39", "0.16"},
             {"9.6", "9.8", "9.7", "0.2"},
             {"9.6 ▼"},
             {"9.6 ▼ 0.1", "9.8 -0.1"}},
            {"all equal",
             {9.8f, 9.8f, 9.8f},
             {"0 из 3 (0.0 %)", "Соответствует", dash, dash, dash, dash},
             {"9.8", "9.8", "9.8", "0.0"},
             {}},
            {"one value",
             {9.8f},
             {"0 из 1 (0.0 %)", "Соответствует", dash, dash, dash, dash},
             {"9.8", "9.8", "9.8", dash},
             {}},
            // The mean and the differences from it as they are, not clamped.
            {"huge values",
             {1e6f, 2e6f, 4e6f},
             {"3 из 3 (100.0 %)", "Не соответствует", "0.00", "-0.58", "0.00", "-0.51"},
             {"1000000.0", "4000000.0", "2333333.3", "1527525.2"},
             {"1000000 ▲", "2000000 ▲", "4000000 ▲"},
             {"1000000 ▲ 1333333.3", "2000000 ▲ 333333.3", "4000000 ▲ -1666666.7"}},
            // A difference that rounds to zero prints as 0.0, not -0.0.
            {"difference near zero",
             {9.7f, 9.9f, 9.82f},
             {"0 из 3 (0.0 %)", "Соответствует", "0.54", "0.52", "0.66", "0.64"},
             {"9.7", "9.9", "9.8", "0.1"},
             {},
             {"9.7 0.1", "9.9 -0.1", "9.8 0.0"}},
            {"not a number",
             {9.8f, nan},
             {"1 из 2 (50.0 %)", "Не соответствует", dash, dash, dash, dash},
             {"9.8", "9.8", dash, dash},
             {dash}},
        };
        for (const Block &block : blocks)
            for (const bool pdf : {true, false})
                QTest::addRow("%s, %s", block.name, pdf ? "pdf" : "excel")
                    << pdf << block.values << block.verdict << block.statistics << block.red << block.rows;
    }

    void reportsJudgeTheBlock()
    {
        QFETCH(bool, pdf);
        QFETCH(QVector<float>, values);
        QFETCH(QStringList, verdict);
        QFETCH(QStringList, statistics);
        QFETCH(QStringList, red);
        QFETCH(QStringList, rows);
        const QDateTime readAt(QDate(2024, 2, 1), QTime(10, 20, 30), Qt::UTC);
        MemoryBlock block{QStringLiteral("Flange DN80 0007"), values};
        block.readAt = readAt;
        window->blockList().showRead({block});
        MainWindowTester::showBlock(*window, 0);
        ui()->limits_min->setValue(9.6);
        ui()->limits_max->setValue(10.0);
        ui()->set_limits_checkbox->setChecked(true);
        const QString path = dir.filePath(pdf ? "judged.pdf" : "judged.xlsx");
        QFile::remove(path);
        runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, true);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});

        const QString blockLine = QStringLiteral("Блок: Flange DN80 0007; показаний: %1; считан: %2")
                                      .arg(values.size())
                                      .arg(readAt.toLocalTime().toString("dd.MM.yyyy hh:mm:ss"));
        const QStringList captions = {"Вне допуска", "Заключение", "Cp", "Cpk", "Pp", "Ppk"};
        const QStringList statisticCaptions = {"Min", "Max", "Среднее", "σ"};
        if (pdf) {
            const QString text = pdfText(path);
            QVERIFY2(text.contains(blockLine), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Допуск: [9.6; 10]")));
            for (int i = 0; i < captions.size(); ++i)
                QVERIFY2(text.contains(QRegularExpression(
                             captions.at(i) + "\\s+" + QRegularExpression::escape(verdict.at(i)) + "\\s*\n")),
                         qPrintable(captions.at(i) + " " + verdict.at(i)));
            for (int i = 0; i < statisticCaptions.size(); ++i)
                QVERIFY2(text.contains(QRegularExpression(statisticCaptions.at(i) + "\\s+"
                                                          + QRegularExpression::escape(statistics.at(i))
                                                          + "\\s*\n")),
                         qPrintable(statisticCaptions.at(i) + " " + statistics.at(i)));
            for (int i = 0; i < rows.size(); ++i) {
                // The value (with its mark, if any), then the difference.
                const int split = rows.at(i).lastIndexOf(' ');
                const QStringList row = {rows.at(i).left(split), rows.at(i).mid(split + 1)};
                QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\n\\s*%1\\s+%2\\s+%3\\s*\\n")
                                                              .arg(i + 1)
                                                              .arg(QRegularExpression::escape(row.at(0)),
                                                                   QRegularExpression::escape(row.at(1))))),
                         qPrintable(rows.at(i)));
            }
            return;
        }

        const QJsonObject book = readWorkbook(path);
        const QJsonObject cells = book.value("cells").toObject();
        QStringList redTexts;
        QMap<QString, QString> byText; // caption -> cell beside it, three columns on
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const QJsonObject cell = it.value().toObject();
            const QString value = cell.value("value").toVariant().toString();
            if (cell.value("color").toString() == QStringLiteral("FF0000"))
                redTexts.append(value);
            if (captions.contains(value) && it.key().startsWith('A'))
                byText.insert(value, cells.value("D" + it.key().mid(1)).toObject().value("value").toString());
            if (statisticCaptions.contains(value))
                byText.insert(value,
                              cells.value(QString(QChar(it.key().at(0).unicode() + 1)) + it.key().mid(1))
                                  .toObject()
                                  .value("value")
                                  .toVariant()
                                  .toString());
        }
        redTexts.sort();
        QCOMPARE(redTexts, red);
        // Each measurement's number in column A, its value and difference beside it.
        for (int i = 0; i < rows.size(); ++i) {
            const int row = rowOfNumber(cells, i + 1);
            QVERIFY(row > 0);
            QCOMPARE(cells.value(QString("B%1").arg(row)).toObject().value("value").toString() + ' '
                         + cells.value(QString("C%1").arg(row)).toObject().value("value").toString(),
                     rows.at(i));
        }
        QVERIFY(workbookText(book).contains(blockLine));
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(byText.value(captions.at(i)), verdict.at(i));
        // Number cells, read back as numbers: the same at one decimal.
        for (int i = 0; i < statisticCaptions.size(); ++i) {
            const QString shown = byText.value(statisticCaptions.at(i));
            QCOMPARE(statistics.at(i) == QChar(0x2014) ? shown : QString::number(shown.toDouble(), 'f', 1),
                     statistics.at(i));
        }
        // The readings as numbers, and whether each is in the band.
        const QJsonArray dataRows = book.value("dataRows").toArray();
        QCOMPARE(dataRows.size(), values.size() + 1);
        for (int i = 0; i < values.size(); ++i) {
            const QJsonArray row = dataRows.at(i + 1).toArray();
            if (std::isfinite(values.at(i)))
                QCOMPARE(float(row.at(1).toObject().value("value").toDouble()), values.at(i));
            const bool inside = values.at(i) >= 9.6f && values.at(i) <= 10.0f;
            QCOMPARE(row.at(2).toObject().value("value").toBool(), inside);
        }
    }

    // The readings at the chosen decimals in both reports, each one out of
    // band with the side it is out on after it as the band's active sides
    // judge it, and the legend of the printed marks under the table; the
    // statistics at least at the chosen decimals; the data sheet's readings
    // stay numbers.
    void readingsAsMeasured_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<int>("decimals"); // the box's index: 0 Авто, otherwise the count
        QTest::addColumn<int>("kind");     // tolerance_kind's index
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("statistics"); // min, max, mean, σ
        QTest::addColumn<QString>("legend");
        const struct
        {
            const char *name;
            int index;
            QStringList numbers; // rounded, as the reports print
            QStringList statistics;
        } choices[] = {
            {"Авто", 0, {"10.0", "10.0", "9.0", "9.0"}, {"9.0", "10.0", "9.5", "0.6"}},
            {"2", 2, {"9.96", "10.04", "8.96", "9.00"}, {"8.96", "10.04", "9.49", "0.59"}},
            {"3", 3, {"9.960", "10.040", "8.960", "9.000"}, {"8.960", "10.040", "9.490", "0.590"}},
        };
        const QString above = QStringLiteral(" \u25B2");
        const QString below = QStringLiteral(" \u25BC");
        const QString aboveLegend = QStringLiteral("\u25B2 — выше Max");
        const QString belowLegend = QStringLiteral("\u25BC — ниже Min");
        const struct
        {
            const char *name;
            QStringList marks;
            QString legend;
        } kinds[] = {
            {"two-sided", {"", above, below, ""}, aboveLegend + ", " + belowLegend},
            {"only lower", {"", "", below, ""}, belowLegend},
            {"only upper", {"", above, "", ""}, aboveLegend},
        };
        for (const auto &choice : choices)
            for (int kind = 0; kind < 3; ++kind) {
                QStringList texts;
                for (int i = 0; i < choice.numbers.size(); ++i)
                    texts.append(choice.numbers.at(i) + kinds[kind].marks.at(i));
                for (const bool pdf : {true, false})
                    QTest::addRow("%s, %s, %s", choice.name, kinds[kind].name, pdf ? "pdf" : "excel")
                        << pdf << choice.index << kind << texts << choice.statistics << kinds[kind].legend;
            }
    }

    void readingsAsMeasured()
    {
        QFETCH(bool, pdf);
        QFETCH(int, decimals);
        QFETCH(int, kind);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, statistics);
        QFETCH(QString, legend);
        const QVector<float> readings{9.96f, 10.04f, 8.96f, 9.0f};
        window->blockList().showRead({{QStringLiteral("Корпус насоса 0003"), readings}});
        MainWindowTester::showBlock(*window, 0);
        ui()->limits_min->setValue(9.0);
        ui()->limits_max->setValue(10.0);
        ui()->set_limits_checkbox->setChecked(true);
        ui()->tolerance_kind->setCurrentIndex(kind);
        ui()->decimals_combo->setCurrentIndex(decimals);
        const QString path = dir.filePath(pdf ? "measured.pdf" : "measured.xlsx");
        QFile::remove(path);
        runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, false);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(path)});
        // The differences from the mean at the same decimals (one at Авто).
        const int differenceDecimals = std::max(1, decimals);
        const QStringList captions = {"Min", "Max", "Среднее", "σ"};

        if (pdf) {
            const QRegularExpression valueRow(QStringLiteral(
                "^\\s*(\\d+)\\s+(-?\\d+\\.\\d+(?: [\u25B2\u25BC])?)\\s+(-?\\d+\\.(\\d+))\\s*$"));
            QStringList printed;
            bool legendUnderTable = false;
            const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
            const int pages =
                pagesLine.match(QString::fromUtf8(runReader("pdfinfo", {path}))).captured(1).toInt();
            QVERIFY(pages >= 1);
            for (int page = 1; page <= pages; ++page) {
                const QStringList lines = pdfText(path, page).split('\n');
                int lastRow = -1;
                for (int i = 0; i < lines.size(); ++i) {
                    const QRegularExpressionMatch row = valueRow.match(lines.at(i));
                    if (!row.hasMatch())
                        continue;
                    QCOMPARE(row.captured(1).toInt(), printed.size() + 1);
                    printed.append(row.captured(2));
                    QCOMPARE(row.captured(4).size(), differenceDecimals);
                    lastRow = i;
                }
                const int legendLine =
                    lines.indexOf(QRegularExpression("^\\s*" + QRegularExpression::escape(legend) + "\\s*$"));
                legendUnderTable =
                    legendUnderTable || (legendLine >= 0 && legendLine > lastRow && lastRow >= 0);
            }
            QCOMPARE(printed, texts);
            QVERIFY2(legendUnderTable, qPrintable(pdfText(path)));
            // The marks are glyphs of the report's own font: no other font
            // is drawn in for them, and every font is embedded.
            const QStringList fonts =
                QString::fromUtf8(runReader("pdffonts", {path})).split('\n', Qt::SkipEmptyParts).mid(2);
            QVERIFY(!fonts.isEmpty());
            QSet<QString> families;
            for (const QString &font : fonts) {
                QVERIFY2(
                    font.contains(QRegularExpression("\\syes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$")),
                    qPrintable(font));
                families.insert(font.section(' ', 0, 0).section('+', -1).section('-', 0, 0));
            }
            QCOMPARE(families.size(), 1);
            const QString text = pdfText(path);
            for (int i = 0; i < captions.size(); ++i)
                QVERIFY2(
                    text.contains(QRegularExpression(
                        captions.at(i) + "\\s+" + QRegularExpression::escape(statistics.at(i)) + "\\s*\n")),
                    qPrintable(captions.at(i) + " " + statistics.at(i)));
            return;
        }

        const QJsonObject book = readWorkbook(path);
        const QJsonObject cells = book.value("cells").toObject();
        int lastRow = 0;
        for (int i = 0; i < texts.size(); ++i) {
            const int row = rowOfNumber(cells, i + 1);
            QVERIFY(row > 0);
            lastRow = std::max(lastRow, row);
            const QJsonObject value = cells.value(QString("B%1").arg(row)).toObject();
            QCOMPARE(value.value("value").toString(), texts.at(i));
            // Marked or not, out of band is red as before.
            QCOMPARE(value.value("color").toString() == QStringLiteral("FF0000"), texts.at(i).contains(' '));
            const QString difference =
                cells.value(QString("C%1").arg(row)).toObject().value("value").toString();
            QCOMPARE(difference.section('.', 1).size(), differenceDecimals);
        }
        // The legend under the table, across the sheet's width.
        int legendRow = 0;
        for (auto it = cells.begin(); it != cells.end(); ++it)
            if (it.value().toObject().value("value").toString() == legend)
                legendRow = it.key().mid(1).toInt();
        QVERIFY(legendRow > lastRow);
        QVERIFY(book.value("merges").toArray().contains(QStringLiteral("A%1:I%1").arg(legendRow)));
        // Statistics unrounded, their format at the decimals printed.
        const QString format =
            QStringLiteral("0.") + QString(statistics.at(0).section('.', 1).size(), QLatin1Char('0'));
        int found = 0;
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const int index = captions.indexOf(it.value().toObject().value("value").toString());
            if (index < 0)
                continue;
            const QJsonObject cell =
                cells.value(QString(QChar(it.key().at(0).unicode() + 1)) + it.key().mid(1)).toObject();
            QCOMPARE(cell.value("type").toString(), QStringLiteral("n"));
            QCOMPARE(cell.value("format").toString(), format);
            QCOMPARE(QString::number(cell.value("value").toDouble(), 'f', format.size() - 2),
                     statistics.at(index));
            ++found;
        }
        QCOMPARE(found, captions.size());
        // The data sheet keeps the readings as numbers.
        const QJsonArray dataRows = book.value("dataRows").toArray();
        QCOMPARE(dataRows.size(), readings.size() + 1);
        for (int i = 0; i < readings.size(); ++i)
            QCOMPARE(float(dataRows.at(i + 1).toArray().at(1).toObject().value("value").toDouble()),
                     readings.at(i));
    }

    // A block whose spread lies in the third decimal (a coating): σ printed
    // with two significant digits, min, max and mean as many decimals, the
    // workbook's cells holding the numbers unrounded.
    void tinySpreadKeepsItsDigits_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("pdf") << true;
        QTest::newRow("excel") << false;
    }

    void tinySpreadKeepsItsDigits()
    {
        QFETCH(bool, pdf);
        const QVector<float> values{4.812f, 4.815f, 4.809f, 4.8137f};
        window->blockList().showRead({{QStringLiteral("Покрытие 0009"), values}});
        MainWindowTester::showBlock(*window, 0);
        // The reference, worked out here: sample σ and the decimals that give it two digits.
        double sum = 0.0;
        for (const float v : values)
            sum += double(v);
        const double mean = sum / values.size();
        double squares = 0.0;
        for (const float v : values)
            squares += (double(v) - mean) * (double(v) - mean);
        const double stdev = std::sqrt(squares / (values.size() - 1));
        int decimals = 1;
        while (std::abs(std::round(stdev * std::pow(10.0, decimals))) < 10.0)
            ++decimals;
        QCOMPARE(decimals, 4);
        const auto fixed = [decimals](double v) { return QString::number(v, 'f', decimals); };
        const double minimum = double(*std::min_element(values.begin(), values.end()));
        const double maximum = double(*std::max_element(values.begin(), values.end()));
        const QStringList statistics{fixed(minimum), fixed(maximum), fixed(mean), fixed(stdev)};
        QCOMPARE(statistics, (QStringList{"4.8090", "4.8150", "4.8124", "0.0026"}));

        const QString path = dir.filePath(pdf ? "coating.pdf" : "coating.xlsx");
        QFile::remove(path);
        runExport(pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel, path, false);
        const QStringList captions = {"Min", "Max", "Среднее", "σ"};
        if (pdf) {
            const QString text = pdfText(path);
            for (int i = 0; i < captions.size(); ++i)
                QVERIFY2(
                    text.contains(QRegularExpression(
                        captions.at(i) + "\\s+" + QRegularExpression::escape(statistics.at(i)) + "\\s*\n")),
                    qPrintable(captions.at(i) + " " + statistics.at(i)));
            return;
        }
        const QJsonObject cells = readWorkbook(path).value("cells").toObject();
        const QList<double> exact{minimum, maximum, mean, stdev};
        int found = 0;
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const int index = captions.indexOf(it.value().toObject().value("value").toString());
            if (index < 0)
                continue;
            const QJsonObject cell =
                cells.value(QString(QChar(it.key().at(0).unicode() + 1)) + it.key().mid(1)).toObject();
            QCOMPARE(cell.value("type").toString(), QStringLiteral("n"));
            QCOMPARE(cell.value("format").toString(), QStringLiteral("0.0000"));
            QVERIFY2(std::abs(cell.value("value").toDouble() - exact.at(index)) < 1e-9,
                     qPrintable(captions.at(index)));
            ++found;
        }
        QCOMPARE(found, captions.size());
    }

    // The workbook's properties say what the PDF's information says, and the
    // program with its version.
    void workbookPropertiesAsThePdf()
    {
        ui()->report_operator->setText(QStringLiteral("Иванов И. И."));
        ui()->report_number->setText(QStringLiteral("17/2024"));
        const QString pdfPath = dir.filePath("information.pdf");
        const QString xlsxPath = dir.filePath("information.xlsx");
        QFile::remove(pdfPath);
        QFile::remove(xlsxPath);
        runExport(ui()->button_export_to_PDF, pdfPath, false);
        runExport(ui()->button_export_to_excel, xlsxPath, false);
        const QString info = QString::fromUtf8(runReader("pdfinfo", {pdfPath}));
        const auto pdfEntry = [&info](const QString &key) {
            return QRegularExpression("^" + key + ":\\s+(.*)$", QRegularExpression::MultilineOption)
                .match(info)
                .captured(1);
        };
        const QJsonObject properties = readWorkbook(xlsxPath).value("properties").toObject();
        const QString title = QStringLiteral("Отчет о проведении контроля · T 0002");
        QCOMPARE(pdfEntry("Title"), title);
        QCOMPARE(properties.value("title").toString(), title);
        QCOMPARE(properties.value("creator").toString(), pdfEntry("Author"));
        QCOMPARE(properties.value("creator").toString(), QStringLiteral("Иванов И. И."));
        QCOMPARE(properties.value("subject").toString(), pdfEntry("Subject"));
        QCOMPARE(properties.value("company").toString(), QStringLiteral("ООО Ромашка"));
        QCOMPARE(properties.value("keywords").toString(),
                 QStringLiteral("Отчет № 17/2024; T 0002; 01.02.2024"));
        QCOMPARE(properties.value("application").toString(), pdfEntry("Creator"));
        QVERIFY2(QRegularExpression("^ZRV \\d+\\.\\d+\\.\\d+$")
                     .match(properties.value("application").toString())
                     .hasMatch(),
                 qPrintable(properties.value("application").toString()));
    }

    void englishTexts_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("pdf") << true
                             << QStringList{"Test report",
                                            "Block: T 0002; readings: 4; read: \u2014",
                                            "Number",
                                            "Data statistics",
                                            "Tolerance: [0; 6.5]",
                                            "Out of tolerance",
                                            "2 of 4 (50.0 %)",
                                            "Does not conform",
                                            "Notes",
                                            "Testing carried out" + QString(32, '_') + ",signature"};
        QTest::newRow("excel") << false
                               << QStringList{"TEST REPORT",
                                              "Block: T 0002; readings: 4; read: \u2014",
                                              "Number",
                                              "Verdict",
                                              "Does not conform",
                                              "Testing carried out" + QString(36, '_') + ",signature"};
    }

    void englishTexts()
    {
        QFETCH(bool, pdf);
        QFETCH(QStringList, texts);
        ui()->limits_min->setValue(0.0);
        ui()->limits_max->setValue(6.5);
        ui()->set_limits_checkbox->setChecked(true);
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
        if (!pdf)
            QCOMPARE(readWorkbook(path).value("sheetNames").toArray(), (QJsonArray{"Sheet1", "Data"}));
        QVERIFY(!text.contains(QStringLiteral("Отчет")));
        QVERIFY(!text.contains(QStringLiteral("ОТЧЕТ")));
    }
};

ZRV_WINDOW_TEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
