// One language at a time: Qt's own texts (file dialogs, message box buttons)
// and the date follow the interface's language, and the language menu marks
// the active one.

#include "mainwindowtester.h"
#include "modalhelper.h"

#include "windowtestmain.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QtTest>

namespace {

// The texts of the next file dialog, which is then cancelled.
struct FileDialogTexts
{
    bool shown = false;
    QString lookIn;
    QString fileName;
    QString accept;
    QString reject;
};

void readNextFileDialog(FileDialogTexts *texts)
{
    whenModalAppears(
        [texts](QWidget *modal) {
            auto *dialog = static_cast<QFileDialog *>(modal);
            texts->shown = true;
            texts->lookIn = dialog->labelText(QFileDialog::LookIn);
            texts->fileName = dialog->labelText(QFileDialog::FileName);
            texts->accept = dialog->labelText(QFileDialog::Accept);
            texts->reject = dialog->labelText(QFileDialog::Reject);
            dialog->reject();
        },
        [](QWidget *modal) { return qobject_cast<QFileDialog *>(modal) != nullptr; });
}

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }

    void qtCatalogueIsEmbedded() { QVERIFY(QFile::exists(QStringLiteral(":/i18n/qtbase_ru.qm"))); }

    // Russian at start, English after switching, Russian again after switching back.
    void fileDialogSpeaksTheInterfaceLanguage_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("lookIn");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("accept");
        QTest::addColumn<QString>("reject");
        const QStringList russian{QStringLiteral("Перейти к:"), QStringLiteral("&Имя файла:"),
                                  QStringLiteral("Открыть"), QStringLiteral("Отмена")};
        const QStringList english{QStringLiteral("Look in:"), QStringLiteral("File &name:"), QStringLiteral("Open"),
                                  QStringLiteral("Cancel")};
        auto row = [](const char *name, const QStringList &switches, const QStringList &texts) {
            QTest::newRow(name) << switches << texts.at(0) << texts.at(1) << texts.at(2) << texts.at(3);
        };
        row("russian at start", {}, russian);
        row("english", {QStringLiteral("actionEN")}, english);
        row("english, then russian", {QStringLiteral("actionEN"), QStringLiteral("actionRU")}, russian);
    }

    void fileDialogSpeaksTheInterfaceLanguage()
    {
        QFETCH(QStringList, switches);
        QFETCH(QString, lookIn);
        QFETCH(QString, fileName);
        QFETCH(QString, accept);
        QFETCH(QString, reject);
        MainWindow window(noPorts());
        for (const QString &action : switches)
            window.findChild<QAction *>(action)->trigger();
        FileDialogTexts texts;
        readNextFileDialog(&texts);
        MainWindowTester::ui(window)->logo_action->click();
        QVERIFY(texts.shown);
        QCOMPARE(texts.lookIn, lookIn);
        QCOMPARE(texts.fileName, fileName);
        QCOMPARE(texts.accept, accept);
        QCOMPARE(texts.reject, reject);
    }

    // Qt's standard buttons, as in its own question boxes (overwrite a file?).
    void messageBoxButtonsSpeakTheInterfaceLanguage()
    {
        MainWindow window(noPorts());
        auto buttonTexts = [&window] {
            QMessageBox box(QMessageBox::Question, QString(), QString(),
                            QMessageBox::Save | QMessageBox::Cancel, &window);
            return QStringList{box.button(QMessageBox::Save)->text(), box.button(QMessageBox::Cancel)->text()};
        };
        QCOMPARE(buttonTexts(), (QStringList{QStringLiteral("Сохранить"), QStringLiteral("Отмена")}));
        MainWindowTester::ui(window)->actionEN->trigger();
        QCOMPARE(buttonTexts(), (QStringList{QStringLiteral("Save"), QStringLiteral("Cancel")}));
    }

    // The date field shows the date as the interface's language writes it.
    void dateSpeaksTheInterfaceLanguage()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        const QDate today = QDate::currentDate();
        QCOMPARE(ui->report_date_edit->text(), today.toString(QStringLiteral("dd.MM.yyyy")));
        QCOMPARE(ui->report_date_edit->locale().language(), QLocale::Russian);
        ui->actionEN->trigger();
        QCOMPARE(ui->report_date_edit->text(), today.toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(ui->report_date_edit->locale().language(), QLocale::English);
        QCOMPARE(ui->report_date_edit->date(), today);
        ui->actionRU->trigger();
        QCOMPARE(ui->report_date_edit->text(), today.toString(QStringLiteral("dd.MM.yyyy")));
    }

    void languageMenuMarksTheActiveLanguage()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QVERIFY(ui->actionRU->isChecked() && !ui->actionEN->isChecked());
        ui->actionEN->trigger();
        QVERIFY(!ui->actionRU->isChecked() && ui->actionEN->isChecked());
        // Choosing the active language again keeps it marked.
        ui->actionEN->trigger();
        QVERIFY(!ui->actionRU->isChecked() && ui->actionEN->isChecked());
        QCOMPARE(ui->button_read_data->text(), QStringLiteral("Read data"));
        ui->actionRU->trigger();
        QVERIFY(ui->actionRU->isChecked() && !ui->actionEN->isChecked());
        QCOMPARE(ui->button_read_data->text(), QStringLiteral("Прочитать данные"));
    }
};

ZRV_WINDOW_TEST_MAIN(LanguageTest)

#include "tst_language.moc"
