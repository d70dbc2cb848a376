// The window on a small screen: at 12 points it fits a 1366 x 768 screen with
// room for a panel and a title bar, every control can be reached (the report
// form scrolls), and after a font change a window too large for the screen
// takes its new minimum size. The offscreen screen cannot be set to another
// size, so those cases measure; one case runs itself again under Xvfb with a
// real 1366 x 768 screen when xvfb-run is there.

#include "mainwindowtester.h"

#include "settings/settingsfile.h"
#include "toolrun.h"
#include "ui/columnfit.h"
#include "ui/reportstatus.h"
#include "ui/screenfit.h"
#include "windowtestmain.h"

#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
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

// Long texts in every place that shows one: the window must not follow them.
void showLongTexts(MainWindow &window)
{
    const QString longText = QStringLiteral("Очень длинный текст состояния, ").repeated(8);
    window.findChild<QLabel *>(QStringLiteral("read_status_label"))->setText(longText);
    auto *history = window.findChild<QLabel *>(QStringLiteral("history_status_label"));
    history->setText(longText);
    history->show();
    for (const char *name : {"verdict_value", "out_of_band_value", "cp_value", "cpk_value"})
        window.findChild<QLabel *>(QString::fromLatin1(name))->setText(longText);
    window.findChild<ReportStatus *>(QStringLiteral("report_status"))
        ->showSaved(QStringLiteral("/home/operator/") + QStringLiteral("длинная папка/").repeated(12)
                    + QStringLiteral("Отчет.pdf"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Every control of the central area is inside it, or inside the viewport of
// its scrolling column once scrolled to; none is pushed off.
QString unreachableControl(MainWindow &window)
{
    auto *ui = MainWindowTester::ui(window);
    const QRect central = ui->centralwidget->rect();
    for (QWidget *widget : ui->centralwidget->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(&window) || widget->focusPolicy() == Qt::NoFocus
            || qobject_cast<QScrollArea *>(widget))
            continue;
        for (QScrollArea *area : {ui->block_column_scroll, ui->chart_column_scroll, ui->report_form_scroll}) {
            if (!area->widget()->isAncestorOf(widget))
                continue;
            if (!central.contains(rectIn(area, ui->centralwidget)))
                return area->objectName();
            const QRect inColumn = rectIn(widget, area->widget());
            area->ensureVisible(inColumn.center().x(), inColumn.center().y(), inColumn.width() / 2 + 1,
                                inColumn.height() / 2 + 1);
            const QRect shown = rectIn(widget, area->viewport());
            if (!area->viewport()->rect().intersects(shown))
                return widget->objectName();
        }
    }
    return QString();
}

// At each font size and in both languages, with long texts everywhere, the
// window stays on the available area and keeps the size it had.
void checkHoldsStill(int fontSize, bool english)
{
    freshSettingsFolder();
    QJsonObject config = defaultConfig();
    config.insert(QStringLiteral("app_font_size"), fontSize);
    QVERIFY(saveConfig(config));
    MainWindow window(noPorts());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (english)
        MainWindowTester::ui(window)->actionEN->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QRect available = window.screen()->availableGeometry();
    const QSize before = window.size();
    QVERIFY2(available.contains(window.frameGeometry()),
             qPrintable(QStringLiteral("%1 x %2")
                            .arg(window.frameGeometry().width())
                            .arg(window.frameGeometry().height())));

    showLongTexts(window);

    QCOMPARE(window.size(), before);
    QVERIFY(available.contains(window.frameGeometry()));
    QVERIFY(window.minimumSizeHint().width() <= available.width());
    QCOMPARE(unreachableControl(window), QString());
    // The link state is not cut short by the texts beside it.
    auto *link = window.findChild<QLabel *>(QStringLiteral("link_status_label"));
    QVERIFY(link->width()
            >= qMin(link->fontMetrics().horizontalAdvance(link->text()), available.width() / 4));
    // A text cut short has the whole text as its tooltip.
    auto *verdict = window.findChild<QLabel *>(QStringLiteral("verdict_value"));
    QHelpEvent hover(QEvent::ToolTip, QPoint(1, 1), verdict->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(verdict, &hover);
    QCOMPARE(verdict->toolTip(), verdict->text());
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
            for (QScrollArea *area :
                 {ui->block_column_scroll, ui->chart_column_scroll, ui->report_form_scroll})
                if (area->widget()->isAncestorOf(widget))
                    column = area;
            if (column) {
                const QRect inColumn = rectIn(widget, column->widget());
                column->ensureVisible(inColumn.center().x(), inColumn.center().y(), inColumn.width() / 2 + 1,
                                      inColumn.height() / 2 + 1);
                const QRect viewport = column->viewport()->rect();
                // A control wider than its column is reached as far as the column shows.
                const QRect shown = rectIn(widget, column->viewport());
                QVERIFY2(viewport.contains(shown)
                             || (shown.width() > viewport.width() && viewport.intersects(shown)),
                         qPrintable(widget->objectName()));
                QVERIFY2(central.contains(rectIn(column, ui->centralwidget)),
                         qPrintable(column->objectName()));
                if (column == ui->report_form_scroll)
                    ++reachedByScrolling;
            } else {
                QVERIFY2(central.contains(rectIn(widget, ui->centralwidget)),
                         qPrintable(widget->objectName()));
            }
        }
        // 15 line edits, the date, the comments and the logo button.
        QVERIFY(reachedByScrolling >= 18);
        // Taller than the window: without the scroll area it would not fit.
        QVERIFY(form->minimumSizeHint().height() > ui->report_form_scroll->viewport()->height());
    }

    // A screen with room to spare opens the window larger than its minimum;
    // a small one at its minimum, never below it.
    void openingSize_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QSize>("opening");
        QTest::newRow("1366 x 768") << QRect(0, 0, 1366, 728) << QSize(1200, 650) << QSize(1200, 650);
        QTest::newRow("1920 x 1080") << QRect(0, 0, 1920, 1050) << QSize(1200, 650) << QSize(1632, 892);
        QTest::newRow("1920 x 1080, large font")
            << QRect(0, 0, 1920, 1050) << QSize(1800, 1000) << QSize(1800, 1000);
    }
    void openingSize()
    {
        QFETCH(QRect, available);
        QFETCH(QSize, minimum);
        QFETCH(QSize, opening);
        QCOMPARE(::openingSize(available, minimum), opening);
    }

    // Columns keep the widths they need while these fit the room, else all
    // are scaled down alike and fit it.
    void sharedWidths()
    {
        QCOMPARE(::sharedWidths({300, 500, 400}, 1300), (QVector<int>{300, 500, 400}));
        QCOMPARE(::sharedWidths({300, 500, 400}, 600), (QVector<int>{150, 250, 200}));
        QCOMPARE(::sharedWidths({300, 500, 400}, 0), (QVector<int>{0, 0, 0}));
        // What rounding down leaves over is given out: the room is filled exactly.
        QCOMPARE(::sharedWidths({300, 500, 400}, 602), (QVector<int>{151, 251, 200}));
        QCOMPARE(::sharedWidths({333, 333, 333}, 100), (QVector<int>{34, 33, 33}));
    }

    void holdsStillAtEveryFontSize_data()
    {
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<bool>("english");
        for (int size : {6, 12, 24, 48}) {
            QTest::addRow("%d pt", size) << size << false;
            QTest::addRow("%d pt, English", size) << size << true;
        }
    }
    void holdsStillAtEveryFontSize()
    {
        QFETCH(int, fontSize);
        QFETCH(bool, english);
        checkHoldsStill(fontSize, english);
    }

    // The splitter's sizes and the window's size and place come back after a restart.
    void placeAndSplitterKept()
    {
        QList<int> sizes;
        QRect geometry;
        {
            MainWindow window(noPorts());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const QRect available = window.screen()->availableGeometry();
            window.move(available.topLeft() + QPoint(3, 25));
            auto *splitter = MainWindowTester::ui(window)->block_splitter;
            const int total = splitter->sizes().at(0) + splitter->sizes().at(1);
            splitter->setSizes({total / 2, total - total / 2});
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            sizes = splitter->sizes();
            geometry = window.geometry();
        }
        MainWindow window(noPorts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(window.geometry(), geometry);
        QCOMPARE(MainWindowTester::ui(window)->block_splitter->sizes(), sizes);
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
            xvfbRun,
            {QStringLiteral("-a"), QStringLiteral("-s"),
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
        QVERIFY2(available.contains(window.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3 x %4")
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

        for (int size : {6, 12, 24, 48}) {
            for (bool english : {false, true}) {
                checkHoldsStill(size, english);
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }
};

ZRV_WINDOW_TEST_MAIN(ScreenFitTest)

#include "tst_screenfit.moc"
