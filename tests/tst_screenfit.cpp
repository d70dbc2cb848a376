// The window on a small screen: at 12 points it fits a 1366 x 768 screen with
// room for a panel and a title bar, every control can be reached (the report
// form scrolls), and after a font change a window too large for the screen
// takes its new minimum size. The offscreen screen cannot be set to another
// size, so those cases measure; one case runs itself again under Xvfb with a
// real 1366 x 768 screen when xvfb-run is there.

#include "mainwindowtester.h"

#include "toolrun.h"
#include "windowtestmain.h"

#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QSize kSmallScreen(1366, 768);
// A desktop's panel and the window's title bar and borders take this much.
constexpr int kDecorationHeight = 80;
constexpr int kDecorationWidth = 10;
// Set in the copy of this test that runs under Xvfb.
const char kUnderXvfb[] = "ZRV_SCREENFIT_UNDER_XVFB";

void changeFont(Ui::MainWindow *ui, int steps)
{
    QAction *action = steps > 0 ? ui->action_font_size_increase : ui->action_font_size_decrease;
    for (int i = 0; i < qAbs(steps); ++i)
        action->trigger();
}

// The rectangle of `widget` in the coordinates of `ancestor`.
QRect rectIn(QWidget *widget, QWidget *ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

} // namespace

class ScreenFitTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }

    void fitsASmallScreen_data()
    {
        QTest::addColumn<QVector<int>>("fontSteps");
        QTest::addColumn<bool>("english");
        QTest::newRow("12 pt") << QVector<int>{} << false;
        QTest::newRow("12 pt, English") << QVector<int>{} << true;
        QTest::newRow("+3 -3") << QVector<int>{3, -3} << false;
        QTest::newRow("+1 +1 +1 -1 -1 -1") << QVector<int>{1, 1, 1, -1, -1, -1} << false;
    }

    void fitsASmallScreen()
    {
        QFETCH(QVector<int>, fontSteps);
        QFETCH(bool, english);
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (english)
            ui->actionEN->trigger();
        for (int steps : fontSteps)
            changeFont(ui, steps);
        QCOMPARE(window.font().pointSize(), 12);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

        // The offscreen screen is smaller than the window, so every font
        // change shrank it to its minimum.
        if (!fontSteps.isEmpty())
            QCOMPARE(window.size(), window.minimumSizeHint());
        const QSize frame = window.frameGeometry().size() + QSize(kDecorationWidth, kDecorationHeight);
        QVERIFY2(frame.width() <= kSmallScreen.width() && frame.height() <= kSmallScreen.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(frame.width()).arg(frame.height())));
    }

    // At its smallest every control is inside the window; the report form's
    // fields are reached by scrolling.
    void everyControlCanBeReached()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(window.size(), window.minimumSizeHint());

        QWidget *form = ui->report_form_scroll->widget();
        const QRect central = ui->centralwidget->rect();
        const QList<QWidget *> widgets = ui->centralwidget->findChildren<QWidget *>();
        int reachedByScrolling = 0;
        for (QWidget *widget : widgets) {
            // The controls: what takes the keyboard focus (a scroll area's own frame aside).
            if (!widget->isVisibleTo(&window) || widget->focusPolicy() == Qt::NoFocus
                || qobject_cast<QScrollArea *>(widget))
                continue;
            QScrollArea *column = nullptr;
            for (QScrollArea *area : {ui->block_column_scroll, ui->chart_column_scroll, ui->report_form_scroll})
                if (area->widget()->isAncestorOf(widget))
                    column = area;
            if (column) {
                const QRect inColumn = rectIn(widget, column->widget());
                column->ensureVisible(inColumn.center().x(), inColumn.center().y(), inColumn.width() / 2 + 1,
                                      inColumn.height() / 2 + 1);
                const QRect viewport = column->viewport()->rect();
                // A control wider than its column is reached as far as the column shows.
                const QRect shown = rectIn(widget, column->viewport());
                QVERIFY2(viewport.contains(shown) || (shown.width() > viewport.width() && viewport.intersects(shown)),
                         qPrintable(widget->objectName()));
                QVERIFY2(central.contains(rectIn(column, ui->centralwidget)), qPrintable(column->objectName()));
                if (column == ui->report_form_scroll)
                    ++reachedByScrolling;
            } else {
                QVERIFY2(central.contains(rectIn(widget, ui->centralwidget)), qPrintable(widget->objectName()));
            }
        }
        // 15 line edits, the date, the comments and the logo button.
        QVERIFY(reachedByScrolling >= 18);
        // Taller than the window: without the scroll area it would not fit.
        QVERIFY(form->minimumSizeHint().height() > ui->report_form_scroll->viewport()->height());
    }

    // The real thing: a 1366 x 768 X screen, the window as the program opens it.
    void underXvfb()
    {
        if (qEnvironmentVariableIsSet(kUnderXvfb)) {
            checkOnTheXScreen();
            return;
        }
        const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfbRun.isEmpty())
            QSKIP("xvfb-run is not installed");
        // The copy takes the X screen and knows it is the copy.
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv(kUnderXvfb, "1");
        const ToolRun child = runTool(
            xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"),
                      QStringLiteral("-screen 0 %1x%2x24").arg(kSmallScreen.width()).arg(kSmallScreen.height()),
                      QCoreApplication::applicationFilePath(), QStringLiteral("underXvfb")});
        qputenv("QT_QPA_PLATFORM", platform);
        qunsetenv(kUnderXvfb);
        const QByteArray output = child.output + child.errors;
        QVERIFY2(child.ok(), output.constData());
        QVERIFY2(output.contains("PASS   : ScreenFitTest::underXvfb()"), output.constData());
    }

private:
    void checkOnTheXScreen()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(available.size(), kSmallScreen);
        MainWindow window(noPorts());
        window.setWindowTitle(QStringLiteral("ZRV"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY2(available.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3 x %4")
                                                                            .arg(window.frameGeometry().x())
                                                                            .arg(window.frameGeometry().y())
                                                                            .arg(window.frameGeometry().width())
                                                                            .arg(window.frameGeometry().height())));
        auto *ui = MainWindowTester::ui(window);
        changeFont(ui, 3);
        changeFont(ui, -3);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(window.size(), window.minimumSizeHint());
        QVERIFY(available.contains(window.frameGeometry()));

        // Enlarged by the operator, it keeps its size while it fits.
        const QSize chosen = available.size() - QSize(kDecorationWidth, kDecorationHeight);
        window.move(available.topLeft());
        window.resize(chosen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        changeFont(ui, 1);
        QCOMPARE(window.size(), chosen);
        ui->action_font_size_reset->trigger();
        QCOMPARE(window.size(), chosen);
        QVERIFY(available.contains(window.frameGeometry()));
    }
};

ZRV_WINDOW_TEST_MAIN(ScreenFitTest)

#include "tst_screenfit.moc"
