// Controls a newcomer and a screen reader can use: the plot range boxes are
// named and explained, the plots say how to zoom and drag, and the band boxes
// apply as their arrows step them (typing still waits for Enter).

#include "mainwindowtester.h"

#include "windowtestmain.h"

#include <QAccessible>
#include <QStyleOptionSpinBox>
#include <QWheelEvent>
#include <QtTest>

namespace {

QList<int> redRows(QTableWidget *table)
{
    QList<int> rows;
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0) && table->item(row, 0)->foreground().color() == QColor(Qt::red))
            rows.append(row);
    return rows;
}

// The centre of one of the spin box's arrows.
QPoint arrowCentre(QDoubleSpinBox *box, QStyle::SubControl arrow)
{
    QStyleOptionSpinBox option;
    option.initFrom(box);
    option.subControls =
        QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
    option.buttonSymbols = box->buttonSymbols();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    option.frame = box->hasFrame();
    return box->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, box).center();
}

void turnWheel(QWidget *widget, int notches)
{
    constexpr int kNotch = 120;
    const QPoint pos = widget->rect().center();
    QWheelEvent wheel(pos, widget->mapToGlobal(pos), QPoint(), QPoint(0, notches * kNotch), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

} // namespace

class ControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        freshSettingsFolder();
        window = std::make_unique<MainWindow>(noPorts());
        ui = MainWindowTester::ui(*window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void rangeBoxesAreNamed_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("lowerName");
        QTest::addColumn<QString>("upperName");
        QTest::addColumn<QString>("zoomWord");
        QTest::newRow("russian") << false << QStringLiteral("Диапазон графиков: от")
                                 << QStringLiteral("Диапазон графиков: до") << QStringLiteral("Колесо мыши");
        QTest::newRow("english") << true << QStringLiteral("Graph range: from")
                                 << QStringLiteral("Graph range: to") << QStringLiteral("mouse wheel");
    }

    void rangeBoxesAreNamed()
    {
        QFETCH(bool, english);
        QFETCH(QString, lowerName);
        QFETCH(QString, upperName);
        QFETCH(QString, zoomWord);
        if (english)
            ui->actionEN->trigger();
        QCOMPARE(ui->graphs_limits_min->accessibleName(), lowerName);
        QCOMPARE(ui->graphs_limits_max->accessibleName(), upperName);
        // What a screen reader announces.
        QCOMPARE(QAccessible::queryAccessibleInterface(ui->graphs_limits_min)->text(QAccessible::Name),
                 lowerName);
        QCOMPARE(QAccessible::queryAccessibleInterface(ui->graphs_limits_max)->text(QAccessible::Name),
                 upperName);
        for (QDoubleSpinBox *box : {ui->graphs_limits_min, ui->graphs_limits_max})
            QVERIFY(!box->toolTip().isEmpty() && box->toolTip() != box->accessibleName());
        QVERIFY(ui->graphs_limits_min->toolTip() != ui->graphs_limits_max->toolTip());
        for (QCustomPlot *plot : {ui->graph, ui->diagram}) {
            QVERIFY2(plot->toolTip().contains(zoomWord), qPrintable(plot->toolTip()));
            QVERIFY(plot->toolTip().contains(QStringLiteral("Shift")));
        }
    }

    // Each way of stepping a band box moves the band at once.
    void bandFollowsItsSteps_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("upperBox");
        QTest::addColumn<QList<int>>("red");
        // Values 3, 7, 4.5 against the band 4 ... 7.5; a step is 1, a page 10.
        QTest::newRow("upper: down arrow clicked") << QStringLiteral("arrow") << true << QList<int>{0, 1};
        QTest::newRow("upper: Down key") << QStringLiteral("key") << true << QList<int>{0, 1};
        QTest::newRow("upper: Page Down key") << QStringLiteral("page") << true << QList<int>{0, 1, 2};
        QTest::newRow("upper: wheel turned down") << QStringLiteral("wheel") << true << QList<int>{0, 1};
        QTest::newRow("lower: up arrow clicked") << QStringLiteral("arrow") << false << QList<int>{0, 2};
        QTest::newRow("lower: Up key") << QStringLiteral("key") << false << QList<int>{0, 2};
    }

    void bandFollowsItsSteps()
    {
        QFETCH(QString, way);
        QFETCH(bool, upperBox);
        QFETCH(QList<int>, red);
        showBandedBlock();
        QDoubleSpinBox *box = upperBox ? ui->limits_max : ui->limits_min;
        const int direction = upperBox ? -1 : 1;
        if (way == QLatin1String("arrow")) {
            QTest::mouseClick(
                box, Qt::LeftButton, Qt::NoModifier,
                arrowCentre(box, direction > 0 ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown));
        } else if (way == QLatin1String("wheel")) {
            turnWheel(box, direction);
        } else {
            box->setFocus();
            const bool page = way == QLatin1String("page");
            QTest::keyClick(box, direction > 0 ? (page ? Qt::Key_PageUp : Qt::Key_Up)
                                               : (page ? Qt::Key_PageDown : Qt::Key_Down));
        }
        QVERIFY(box->value() != (upperBox ? 7.5 : 4.0));
        QCOMPARE(redRows(ui->table_block_data), red);
        QCOMPARE(ui->graph->graph(1)->data()->size(), red.size());
    }

    // Typing waits for Enter; an arrow then steps from the typed value.
    void typingStillWaitsForEnter()
    {
        showBandedBlock();
        ui->limits_max->setFocus();
        ui->limits_max->selectAll();
        QTest::keyClicks(ui->limits_max, QStringLiteral("6"));
        QCOMPARE(ui->limits_max->value(), 6.0);
        QCOMPARE(redRows(ui->table_block_data), QList<int>{0});
        QCOMPARE(ui->graph->graph(1)->data()->size(), 1);

        QTest::keyClick(ui->limits_max, Qt::Key_Up);
        QCOMPARE(ui->limits_max->value(), 7.0);
        QCOMPARE(redRows(ui->table_block_data), QList<int>{0});
        QTest::keyClick(ui->limits_max, Qt::Key_Down);
        QCOMPARE(ui->limits_max->value(), 6.0);
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0, 1}));

        // Values set by the program are no steps either.
        ui->limits_min->setValue(5.5);
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0, 1}));
    }

private:
    // The band 4 ... 7.5, switched on, over the values 3, 7, 4.5 (the first out).
    void showBandedBlock()
    {
        ui->limits_min->setValue(4.0);
        ui->limits_max->setValue(7.5);
        MemoryBlock block;
        block.name = QStringLiteral("Т 0001");
        block.values = {3.0f, 7.0f, 4.5f};
        window->blockList().showRead({block});
        MainWindowTester::showBlock(*window, 0);
        ui->set_limits_checkbox->setChecked(true);
        QCOMPARE(redRows(ui->table_block_data), QList<int>{0});
    }

    std::unique_ptr<MainWindow> window;
    Ui::MainWindow *ui = nullptr;
};

ZRV_WINDOW_TEST_MAIN(ControlsTest)

#include "tst_controls.moc"
