// The band's verdict in the window's statistics area, the table's marks by
// the reading, and the copy of table rows, through the real window and real
// input.
#include "inputevents.h"
#include "mainwindowtester.h"
#include "windowtestmain.h"

#include <QClipboard>
#include <QtTest>
#include <limits>
#include <memory>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
const QString kDash(QChar(0x2014));

} // namespace

class TestVerdictView : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    Ui::MainWindow *ui = nullptr;

    void showValues(const QVector<float> &values)
    {
        window->blockList().showRead({MemoryBlock{QStringLiteral("Flange DN80 0001"), values}});
        doubleClickRow(ui->block_names_list, 0);
    }

    void switchBand(bool on)
    {
        if (ui->set_limits_checkbox->isChecked() != on)
            clickCheckBox(ui->set_limits_checkbox);
        QCOMPARE(ui->set_limits_checkbox->isChecked(), on);
    }

    QStringList verdictTexts() const
    {
        return {ui->out_of_band_value->text(), ui->verdict_value->text(), ui->cp_value->text(),
                ui->cpk_value->text(),         ui->pp_value->text(),      ui->ppk_value->text()};
    }

    QList<int> redRows() const
    {
        QList<int> rows;
        for (int row = 0; row < ui->table_block_data->rowCount(); ++row)
            if (ui->table_block_data->item(row, 0)->data(Qt::ForegroundRole).isValid())
                rows.append(row);
        return rows;
    }

    void clickCell(int row, Qt::KeyboardModifiers modifiers)
    {
        QTableWidget *table = ui->table_block_data;
        const QRect cell = table->visualItemRect(table->item(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init()
    {
        freshSettingsFolder();
        window = std::make_unique<MainWindow>(noPorts());
        ui = MainWindowTester::ui(*window);
        window->resize(1200, 860);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ui->limits_min->setValue(9.6);
        ui->limits_max->setValue(10.0);
    }

    void cleanup()
    {
        window.reset();
        ui = nullptr;
    }

    void formTexts()
    {
        QCOMPARE(ui->out_of_band_label->text(), QStringLiteral("Вне допуска"));
        QCOMPARE(ui->verdict_label->text(), QStringLiteral("Заключение"));
        QCOMPARE(ui->cp_label->text(), QStringLiteral("Cp"));
        QCOMPARE(ui->cpk_label->text(), QStringLiteral("Cpk"));
        QCOMPARE(ui->pp_label->text(), QStringLiteral("Pp"));
        QCOMPARE(ui->ppk_label->text(), QStringLiteral("Ppk"));
        QCOMPARE(ui->tolerance_kind_label->text(), QStringLiteral("Допуск:"));
        // Nothing to judge before a block is shown.
        QCOMPARE(verdictTexts(), (QStringList{kDash, kDash, kDash, kDash, kDash, kDash}));
    }

    // A table of blocks against the band 9.6 .. 10.0: Cp and Cpk from the
    // average moving range / 1.128, Pp and Ppk from the sample deviation.
    void verdictOfTheShownBlock_data()
    {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("red");
        QTest::newRow("in band") << QVector<float>{9.7f, 9.8f, 9.9f, 10.0f}
                                 << QStringList{"0 из 4 (0.0 %)", "Соответствует", "0.75",
                                                "0.56",           "0.52",          "0.39"}
                                 << QList<int>{};
        QTest::newRow("out at both ends")
            << QVector<float>{9.5f, 9.8f, 10.1f}
            << QStringList{"2 из 3 (66.7 %)", "Не соответствует", "0.25", "0.25", "0.22", "0.22"}
            << QList<int>{0, 2};
        // Shown as 9.5 in the table and 9.6 in the reports: outside all the same.
        QTest::newRow("9.56 against 9.6")
            << QVector<float>{9.56f, 9.8f}
            << QStringList{"1 из 2 (50.0 %)", "Не соответствует", "0.31", "0.13", "0.39", "0.16"}
            << QList<int>{0};
        QTest::newRow("all equal")
            << QVector<float>{9.8f, 9.8f, 9.8f}
            << QStringList{"0 из 3 (0.0 %)", "Соответствует", kDash, kDash, kDash, kDash} << QList<int>{};
        QTest::newRow("one value")
            << QVector<float>{9.8f}
            << QStringList{"0 из 1 (0.0 %)", "Соответствует", kDash, kDash, kDash, kDash} << QList<int>{};
        QTest::newRow("huge values")
            << QVector<float>{1e6f, 2e6f, 4e6f}
            << QStringList{"3 из 3 (100.0 %)", "Не соответствует", "0.00", "-0.58", "0.00", "-0.51"}
            << QList<int>{0, 1, 2};
        QTest::newRow("not a number")
            << QVector<float>{9.8f, kNaN}
            << QStringList{"1 из 2 (50.0 %)", "Не соответствует", kDash, kDash, kDash, kDash}
            << QList<int>{1};
    }

    void verdictOfTheShownBlock()
    {
        QFETCH(QVector<float>, values);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, red);
        showValues(values);
        QCOMPARE(verdictTexts(), (QStringList{kDash, kDash, kDash, kDash, kDash, kDash}));
        QVERIFY(redRows().isEmpty());
        switchBand(true);
        QCOMPARE(verdictTexts(), texts);
        QCOMPARE(redRows(), red);
        switchBand(false);
        QCOMPARE(verdictTexts(), (QStringList{kDash, kDash, kDash, kDash, kDash, kDash}));
        QVERIFY(redRows().isEmpty());
        // With the band on, a block shown afterwards is judged at once.
        switchBand(true);
        showValues(values);
        QCOMPARE(verdictTexts(), texts);
    }

    void verdictFollowsAnEditedLimit()
    {
        showValues({9.7f, 9.8f, 9.9f, 10.0f});
        switchBand(true);
        QCOMPARE(ui->verdict_value->text(), QStringLiteral("Соответствует"));
        typeInto(ui->limits_max, 9.8);
        QCOMPARE(verdictTexts(),
                 (QStringList{"2 из 4 (50.0 %)", "Не соответствует", "0.38", "-0.19", "0.26", "-0.13"}));
        QCOMPARE(redRows(), (QList<int>{2, 3}));
    }

    // The kind of band decides which limits apply: the other limit's box is
    // kept but counts for nothing; the note names a band that misleads.
    void toleranceKinds_data()
    {
        QTest::addColumn<int>("kind"); // the combo's row: two-sided, lower only, upper only
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("red");
        QTest::addColumn<QString>("note");
        const QString sample = QStringLiteral("n = 4 — малая выборка (n < 25)");
        QTest::newRow("lower only, upper box below the data")
            << 1 << 9.6 << 9.7
            << QStringList{"1 из 4 (25.0 %)", "Не соответствует", kDash, "0.32", kDash, "0.30"}
            << QList<int>{0} << sample;
        QTest::newRow("upper only, lower box above the data")
            << 2 << 9.9 << 10.0
            << QStringList{"1 из 4 (25.0 %)", "Не соответствует", kDash, "0.25", kDash, "0.23"}
            << QList<int>{2} << sample;
        QTest::newRow("min above max")
            << 0 << 10.0 << 9.6
            << QStringList{"4 из 4 (100.0 %)", "Не соответствует", kDash, kDash, kDash, kDash}
            << QList<int>{0, 1, 2, 3} << "Допуск задан неверно: Min больше Max · " + sample;
        QTest::newRow("far from every reading")
            << 0 << 100.0 << 101.0
            << QStringList{"4 из 4 (100.0 %)", "Не соответствует", "0.70", "-127.15", "0.67", "-120.23"}
            << QList<int>{0, 1, 2, 3} << "все значения вне допуска — проверьте допуск · " + sample;
    }

    void toleranceKinds()
    {
        QFETCH(int, kind);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, red);
        QFETCH(QString, note);
        ui->limits_min->setValue(lower);
        ui->limits_max->setValue(upper);
        ui->tolerance_kind->setCurrentIndex(kind);
        showValues({9.5f, 9.8f, 10.1f, 9.9f});
        switchBand(true);
        QCOMPARE(verdictTexts(), texts);
        QCOMPARE(redRows(), red);
        QVERIFY2(ui->capability_note->text().startsWith(note), qPrintable(ui->capability_note->text()));
        // The plot draws the same readings red, and a line only where a limit applies.
        QCOMPARE(ui->graph->graph(1)->data()->size(), red.size());
        int lines = 0;
        for (int i = 0; i < ui->graph->itemCount(); ++i)
            lines += qobject_cast<QCPItemStraightLine *>(ui->graph->item(i)) && ui->graph->item(i)->visible();
        QCOMPARE(lines, kind == 0 ? 2 : 1);
        // Back to two-sided: the boxes' band again.
        ui->tolerance_kind->setCurrentIndex(0);
        QCOMPARE(ui->cp_value->text() == kDash, lower > upper);
    }

    // The table marks the reading, not its cut text: 4.93 shows as 4.9.
    void tableMarksTheReading()
    {
        ui->limits_min->setValue(4.7);
        ui->limits_max->setValue(4.9);
        showValues({4.93f, 4.9f, 4.7f, 4.69f});
        switchBand(true);
        QCOMPARE(ui->table_block_data->item(0, 0)->text(), QStringLiteral("4.9"));
        QCOMPARE(redRows(), (QList<int>{0, 3}));
        // The plots agree: the same readings are drawn red.
        QCOMPARE(ui->graph->graphCount(), 2);
        QCOMPARE(ui->graph->graph(1)->data()->size(), 2);
    }

    void textsFollowTheLanguage()
    {
        showValues({9.56f, 9.8f});
        switchBand(true);
        ui->actionEN->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(ui->out_of_band_label->text(), QStringLiteral("Out of tolerance"));
        QCOMPARE(ui->verdict_label->text(), QStringLiteral("Verdict"));
        QCOMPARE(verdictTexts(),
                 (QStringList{"1 of 2 (50.0 %)", "Does not conform", "0.31", "0.13", "0.39", "0.16"}));
        ui->actionRU->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(verdictTexts(),
                 (QStringList{"1 из 2 (50.0 %)", "Не соответствует", "0.31", "0.13", "0.39", "0.16"}));
    }

    // Ctrl+C on the table puts the selected rows on the clipboard: number and
    // reading, a tab between, the reading's own decimal.
    void copySelectedRows()
    {
        showValues({9.56f, 100.0f, -0.7f, kNaN, 3.0e38f});
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTableWidget *table = ui->table_block_data;
        QGuiApplication::clipboard()->clear();
        clickCell(0, Qt::NoModifier);
        clickCell(2, Qt::ControlModifier);
        clickCell(4, Qt::ControlModifier);
        clickCell(3, Qt::ControlModifier);
        QTest::keySequence(table, QKeySequence::Copy);
        // The system's decimal point, as a spreadsheet on this machine reads it.
        const QString expected = QStringLiteral("1\t9.56\n3\t-0.7\n4\t\n5\t3e+38\n")
                                     .replace('.', QLocale::system().decimalPoint());
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);

        // Nothing selected: the clipboard keeps what it had.
        table->clearSelection();
        QTest::keySequence(table, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    }
};

ZRV_WINDOW_TEST_MAIN(TestVerdictView)
#include "tst_verdictview.moc"
