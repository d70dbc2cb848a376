// The application shell around the form: font size steps, the company logo,
// the Shift rule for wheel zooming, the linked plot axes, the about boxes and
// the language switch.

#include "mainwindowtester.h"
#include "modalhelper.h"
#include "ui/abouttexts.h"
#include "windowtestmain.h"

#include <QFileDialog>
#include <QtTest>

namespace {

QString writeImageFile(const QString &name, const QImage &image, const char *format)
{
    const QString path = QDir::temp().filePath(name);
    image.save(path, format);
    return path;
}

QImage sampleImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(10, 120, 200));
    return image;
}

// Answers the next file dialog with the given file (empty: cancel), then runs
// `then`. A dialog that is not ready to take the name yet is tried again.
void answerFileDialog(const QString &path, std::function<void()> then = nullptr)
{
    whenModalAppears(
        [path, then](QWidget *modal) {
            auto *dialog = static_cast<QFileDialog *>(modal);
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(path);
            else
                dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept");
            if (dialog->isVisible()) {
                answerFileDialog(path, then);
                return;
            }
            if (then)
                then();
        },
        [](QWidget *modal) { return qobject_cast<QFileDialog *>(modal) != nullptr; });
}

} // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }

    void fontSizeReachesEverything()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        for (int i = 0; i < 3; ++i)
            ui->action_font_size_increase->trigger();

        QCOMPARE(window.font().pointSize(), 15);
        QCOMPARE(QApplication::font().pointSize(), 15);
        for (QWidget *w : std::initializer_list<QWidget *>{ui->label, ui->button_read_data, ui->company_name,
                                                           ui->block_names_list, ui->table_block_data,
                                                           ui->menubar, ui->view, ui->font_size, ui->language,
                                                           ui->comments_text, ui->logo_action, ui->statusbar})
            QCOMPARE(w->font().pointSize(), 15);
        for (QAction *a : {ui->actionRU, ui->about_program, ui->action_font_size_increase})
            QCOMPARE(a->font().pointSize(), 15);
        for (QCustomPlot *plot : {ui->graph, ui->diagram})
            for (QCPAxis *axis : {plot->xAxis, plot->yAxis, plot->xAxis2, plot->yAxis2}) {
                QCOMPARE(axis->tickLabelFont().pointSize(), 15);
                QCOMPARE(axis->labelFont().pointSize(), 15);
            }
        for (QLabel *header : {ui->company_data_label, ui->report_data_label, ui->device_data_label})
            QVERIFY(header->font().bold());
        QVERIFY(!ui->label->font().bold());

        ui->action_font_size_decrease->trigger();
        QCOMPARE(ui->label->font().pointSize(), 14);
    }

    // The window stays usable: sizes stop at 6 and 48 points.
    void fontSizeStopsAtItsBounds_data()
    {
        QTest::addColumn<bool>("increase");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("expected");
        QTest::newRow("down to 6") << false << 15 << 6;
        QTest::newRow("up to 48") << true << 40 << 48;
    }

    void fontSizeStopsAtItsBounds()
    {
        QFETCH(bool, increase);
        QFETCH(int, steps);
        QFETCH(int, expected);
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QAction *action = increase ? ui->action_font_size_increase : ui->action_font_size_decrease;
        for (int i = 0; i < steps; ++i)
            action->trigger();
        QCOMPARE(window.font().pointSize(), expected);
        QCOMPARE(ui->label->font().pointSize(), expected);
        QCOMPARE(ui->graph->xAxis->tickLabelFont().pointSize(), expected);
        QCOMPARE(QApplication::font().pointSize(), expected);
    }

    // Ctrl++, Ctrl+- and Ctrl+0 (back to 12 points) work from the keyboard.
    void fontSizeShortcuts()
    {
        MainWindow window(noPorts());
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *ui = MainWindowTester::ui(window);
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(window.font().pointSize(), 14);
        QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(window.font().pointSize(), 13);
        QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(window.font().pointSize(), 12);
        QCOMPARE(ui->label->font().pointSize(), 12);
        // The menu entry does the same.
        ui->action_font_size_decrease->trigger();
        ui->action_font_size_reset->trigger();
        QCOMPARE(ui->company_name->font().pointSize(), 12);
    }

    void fontSizeIsKeptForTheNextStart()
    {
        {
            MainWindow window(noPorts());
            MainWindowTester::ui(window)->action_font_size_increase->trigger();
        }
        MainWindow window(noPorts());
        QCOMPARE(window.font().pointSize(), 13);
        QCOMPARE(MainWindowTester::ui(window)->label->font().pointSize(), 13);
    }

    void logoAddAndRemove()
    {
        const QString path =
            writeImageFile(QStringLiteral("zrv-shell-logo.bmp"), sampleImage(300, 100), "BMP");
        MainWindow window(noPorts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *ui = MainWindowTester::ui(window);
        QTRY_VERIFY(ui->logotype->maximumWidth() == ui->report_number->width() / 2);

        answerFileDialog(path);
        ui->logo_action->click();
        QCOMPARE(MainWindowTester::logo(window).size(), QSize(300, 100));
        QCOMPARE(ui->logo_action->text(), QStringLiteral("Удалить"));
        // Fitted into the label's square, whole once the form is laid out.
        const QPixmap shown = ui->logotype->pixmap(Qt::ReturnByValue);
        QVERIFY(!shown.isNull());
        const QSize box = ui->logotype->maximumSize();
        QVERIFY(shown.width() <= box.width() && shown.height() <= box.height());
        QVERIFY(shown.width() == box.width() || shown.height() == box.height());
        QVERIFY(qAbs(shown.width() - 3 * shown.height()) <= 3);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(ui->logotype->width() >= shown.width() && ui->logotype->height() >= shown.height());

        // Removing asks nothing.
        ui->logo_action->click();
        QVERIFY(MainWindowTester::logo(window).isNull());
        QCOMPARE(ui->logo_action->text(), QStringLiteral("Добавить логотип"));
        QVERIFY(ui->logotype->pixmap(Qt::ReturnByValue).isNull());
        QFile::remove(path);
    }

    // The logo keeps its size on screen from the moment it is chosen to
    // after a restart, large pictures and small ones.
    void logoLooksTheSameAfterRestart_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide, larger than the label") << QSize(300, 100);
        QTest::newRow("tall, larger than the label") << QSize(200, 400);
        QTest::newRow("smaller than the label") << QSize(40, 20);
        QTest::newRow("a photo's size, sampled before smoothing") << QSize(3000, 1200);
    }

    void logoLooksTheSameAfterRestart()
    {
        QFETCH(QSize, size);
        const QString path = writeImageFile(QStringLiteral("zrv-shell-restart.png"),
                                            sampleImage(size.width(), size.height()), "PNG");
        QSize chosen;
        QSize label;
        {
            MainWindow window(noPorts());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto *ui = MainWindowTester::ui(window);
            QTRY_VERIFY(ui->logotype->maximumWidth() == ui->report_number->width() / 2);
            answerFileDialog(path);
            ui->logo_action->click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            chosen = ui->logotype->pixmap(Qt::ReturnByValue).size();
            // The box the logo is fitted into; the label's own height is the
            // layout's, which may still be settling on a loaded machine.
            label = ui->logotype->maximumSize();
        }
        MainWindow window(noPorts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *ui = MainWindowTester::ui(window);
        QTRY_VERIFY(!ui->logotype->pixmap(Qt::ReturnByValue).isNull());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(ui->logotype->pixmap(Qt::ReturnByValue).size(), chosen);
        QCOMPARE(ui->logotype->maximumSize(), label);
        // The picture's proportions, whatever way it was scaled down.
        QVERIFY(qAbs(chosen.width() * size.height() - chosen.height() * size.width()) <= size.width());
        QFile::remove(path);
    }

    void logoDialogCancelled()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        answerFileDialog(QString());
        ui->logo_action->click();
        QVERIFY(MainWindowTester::logo(window).isNull());
        QCOMPARE(ui->logo_action->text(), QStringLiteral("Добавить логотип"));
    }

    void logoThatIsNoImage_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("text") << QByteArray("this is not a picture");
        QImage image = sampleImage(50, 50);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        QTest::newRow("truncated png") << png.left(40);
    }

    void logoThatIsNoImage()
    {
        QFETCH(QByteArray, contents);
        const QString path = QDir::temp().filePath(QStringLiteral("zrv-shell-broken.png"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        ui->actionEN->trigger(); // the error box stays English anyway
        MessageBoxSeen box;
        answerFileDialog(path, [&box] { answerNextMessageBox(&box, QMessageBox::Ok); });
        ui->logo_action->click();
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.text, QStringLiteral("Failed to load the image."));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.parent, &window);
        QVERIFY(MainWindowTester::logo(window).isNull());
        QCOMPARE(ui->logo_action->text(), QStringLiteral("Add logo"));
        QFile::remove(path);
    }

    void languageKeepsTitleAndLogoButton()
    {
        MainWindow window(noPorts());
        window.setWindowTitle(QStringLiteral("ZRV"));
        auto *ui = MainWindowTester::ui(window);
        window.reportLogo().setImage(sampleImage(10, 10));
        ui->actionEN->trigger();
        QCOMPARE(window.windowTitle(), QStringLiteral("ZRV"));
        QCOMPARE(ui->logo_action->text(), QStringLiteral("Remove logo"));
        ui->actionEN->trigger();
        QCOMPARE(ui->logo_action->text(), QStringLiteral("Remove logo"));
        window.reportLogo().setImage(QImage());
        ui->actionRU->trigger();
        QCOMPARE(window.windowTitle(), QStringLiteral("ZRV"));
        QCOMPARE(ui->logo_action->text(), QStringLiteral("Добавить логотип"));
        QCOMPARE(ui->button_read_data->text(), QStringLiteral("Прочитать данные"));
    }

    void shiftSwitchesWheelZoom()
    {
        MainWindow window(noPorts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *ui = MainWindowTester::ui(window);
        QTest::keyPress(&window, Qt::Key_Shift);
        QCOMPARE(ui->graph->axisRect(0)->rangeZoom(), Qt::Vertical);
        QCOMPARE(ui->diagram->axisRect(0)->rangeZoom(), Qt::Vertical);
        QTest::keyRelease(&window, Qt::Key_Shift);
        QCOMPARE(ui->graph->axisRect(0)->rangeZoom(), Qt::Horizontal);
        QCOMPARE(ui->diagram->axisRect(0)->rangeZoom(), Qt::Horizontal);
        // Other keys change nothing.
        QTest::keyPress(&window, Qt::Key_Control);
        QCOMPARE(ui->graph->axisRect(0)->rangeZoom(), Qt::Horizontal);
    }

    void axesAreLinked_data()
    {
        QTest::addColumn<bool>("fromGraph");
        QTest::addColumn<bool>("xAxis");
        QTest::newRow("graph x") << true << true;
        QTest::newRow("graph y") << true << false;
        QTest::newRow("diagram x") << false << true;
        QTest::newRow("diagram y") << false << false;
    }

    void axesAreLinked()
    {
        QFETCH(bool, fromGraph);
        QFETCH(bool, xAxis);
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QCustomPlot *from = fromGraph ? ui->graph : ui->diagram;
        QCustomPlot *to = fromGraph ? ui->diagram : ui->graph;
        QCPAxis *source = xAxis ? from->xAxis : from->yAxis;
        QCPAxis *linked = xAxis ? to->xAxis : to->yAxis;
        source->setRange(-3, 42);
        QCOMPARE(linked->range(), QCPRange(-3, 42));
        // The other axis stays as it was.
        QCOMPARE((xAxis ? to->yAxis : to->xAxis)->range(), QCPRange(0, 5));
    }

    void aboutProgram_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("russian") << false << QStringLiteral("О программе")
                                 << QStringList{
                                        "ZRV 2.4.1",
                                        "Поддерживаемые ОС: Windows 7, Windows 8, Windows 10 (x32,x64)",
                                        "Сайт: ", "Электронная почта: ", "Тарвен"};
        QTest::newRow("english") << true << QStringLiteral("About")
                                 << QStringList{
                                        "ZRV 2.4.1",
                                        "Supported systems: Windows 7, Windows 8, Windows 10 (x32,x64)",
                                        "Website: ", "e-mail: ", "Tarven"};
    }

    void aboutProgram()
    {
        QFETCH(bool, english);
        QFETCH(QString, title);
        QFETCH(QStringList, lines);
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        (english ? ui->actionEN : ui->actionRU)->trigger();
        MessageBoxSeen box;
        answerNextMessageBox(&box, QMessageBox::Ok);
        ui->about_program->trigger();
        QVERIFY(box.shown);
        QCOMPARE(box.title, title);
        QCOMPARE(box.parent, &window);
        const QStringList parts = box.text.split(QStringLiteral("<br>"));
        QCOMPARE(parts.size(), 5);
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(parts.at(i).startsWith(lines.at(i)) || parts.at(i).contains(lines.at(i)),
                     qPrintable(parts.at(i)));
        QVERIFY(parts.at(2).contains(QStringLiteral("<a href=")));
        QVERIFY(parts.at(3).contains(QStringLiteral("mailto:")));
    }

    void aboutCompany_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("heading");
        QTest::newRow("russian") << false << QStringLiteral("<h3>Тарвен</h3>");
        QTest::newRow("english") << true << QStringLiteral("<h3>Tarven</h3>");
    }

    void aboutCompany()
    {
        QFETCH(bool, english);
        QFETCH(QString, heading);
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        (english ? ui->actionEN : ui->actionRU)->trigger();
        MessageBoxSeen box;
        answerNextMessageBox(&box, QMessageBox::Ok);
        ui->about_company->trigger();
        QVERIFY(box.shown);
        QVERIFY(box.text.startsWith(heading));
        QVERIFY(box.text.contains(QStringLiteral("<ul>")));
        QCOMPARE(box.title, QString());
        QCOMPARE(box.icon, QMessageBox::Information);
        QVERIFY(box.parent == nullptr);
    }
};

ZRV_WINDOW_TEST_MAIN(ShellTest)

#include "tst_shell.moc"
