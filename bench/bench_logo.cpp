// Start-up and exit of the window with a 3000 x 3000 company logo in the
// settings, and a resize of the window with that logo shown. Prints medians
// (and the worst run) in ms against the goals. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_logo

#include "figures.h"
#include "../tests/mainwindowtester.h"
#include "device/pathportlister.h"
#include "settings/logoimage.h"
#include "settings/settingsfile.h"
#include "ui/logoloader.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

constexpr int kRuns = 7;
constexpr int kLogoSide = 3000;
constexpr double kStartGoalMs = 250;
constexpr double kExitGoalMs = 100;
constexpr double kResizeGoalMs = 16;
// About the logo label's side at 12 points.
constexpr int kShownSide = 130;

// A logo as a scanner or a designer hands it over: shapes, a gradient and
// some noise, so that it does not compress to nothing.
QByteArray logoPng()
{
    QImage image(kLogoSide, kLogoSide, QImage::Format_ARGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, kLogoSide, kLogoSide);
    gradient.setColorAt(0, QColor(31, 78, 140));
    gradient.setColorAt(1, QColor(240, 244, 250));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(214, 40, 40));
    painter.drawEllipse(QPoint(kLogoSide / 2, kLogoSide / 2), kLogoSide / 3, kLogoSide / 4);
    painter.end();
    quint32 state = 7;
    for (int y = 0; y < kLogoSide; y += 3)
        for (int x = 0; x < kLogoSide; x += 5) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, qRgb(state >> 24, (state >> 16) & 0xFF, (state >> 8) & 0xFF));
        }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}


// Starts `clock` and opens a window; the time to its first paint goes to
// `starts`. Null when it was never painted.
std::unique_ptr<MainWindow> openWindow(QElapsedTimer &clock, QVector<double> &starts)
{
    clock.start();
    auto window = std::make_unique<MainWindow>(noPorts());
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    starts.append(clock.nsecsElapsed() / 1e6);
    return window;
}

// Closes the window (its settings are written as it goes); the time it took.
double closeWindow(std::unique_ptr<MainWindow> &window)
{
    QElapsedTimer clock;
    clock.start();
    window.reset();
    return clock.nsecsElapsed() / 1e6;
}

void print(const char *what, const Figures &figures)
{
    QTextStream(stdout) << QStringLiteral("%1: median %2 ms, worst %3 ms\n")
                               .arg(QLatin1String(what))
                               .arg(figures.median, 0, 'f', 1)
                               .arg(figures.worst, 0, 'f', 1);
}

void print(const char *what, const Figures &figures, double goal)
{
    QTextStream(stdout) << QStringLiteral("%1: median %2 ms, worst %3 ms (goal <= %4 ms) %5\n")
                               .arg(QLatin1String(what))
                               .arg(figures.median, 0, 'f', 1)
                               .arg(figures.worst, 0, 'f', 1)
                               .arg(goal, 0, 'f', 0)
                               .arg(figures.median <= goal ? QStringLiteral("ok") : QStringLiteral("MISSED"));
}

} // namespace

class BenchLogo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        freshSettingsFolder();
        const QByteArray png = logoPng();
        QJsonObject config = defaultConfig();
        config.insert(QStringLiteral("logo_image"), QString::fromLatin1(png.toBase64()));
        QVERIFY(saveConfig(config));
        QTextStream(stdout) << QStringLiteral("logo %1 x %1, PNG %2 KiB, settings file %3 KiB\n")
                                   .arg(kLogoSide)
                                   .arg(png.size() / 1024)
                                   .arg(QFileInfo(configFilePath()).size() / 1024);
    }

    // The same without a logo, for reference: what the logo adds.
    void startAndExitWithoutLogo()
    {
        QJsonObject config = loadConfig();
        const QJsonValue logo = config.value(QStringLiteral("logo_image"));
        config.insert(QStringLiteral("logo_image"), QString());
        QVERIFY(saveConfig(config));
        QVector<double> starts;
        QVector<double> exits;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer clock;
            auto window = openWindow(clock, starts);
            QVERIFY(window);
            exits.append(closeWindow(window));
        }
        print("start-up without a logo (reference)", summary(starts), kStartGoalMs);
        print("exit without a logo (reference)", summary(exits), kExitGoalMs);
        config = loadConfig();
        config.insert(QStringLiteral("logo_image"), logo);
        QVERIFY(saveConfig(config));
    }

    // From constructing the window to its first paint (the logo is decoded
    // meanwhile on a thread of its own), then to the logo shown; then closing
    // it (the settings are written as the window goes, when they changed).
    void startAndExit()
    {
        QVector<double> starts;
        QVector<double> logos;
        QVector<double> exits;
        QVector<double> changedExits;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer clock;
            auto window = openWindow(clock, starts);
            QVERIFY(window);
            auto *ui = MainWindowTester::ui(*window);
            while (ui->logotype->pixmap(Qt::ReturnByValue).isNull())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            logos.append(clock.nsecsElapsed() / 1e6);

            // Every other run the operator changed a field: the file is written.
            const bool changed = run % 2;
            if (changed)
                ui->company_name->setText(QStringLiteral("ООО %1").arg(run));
            (changed ? changedExits : exits).append(closeWindow(window));
        }
        print("start-up to the window", summary(starts), kStartGoalMs);
        print("start-up to the logo shown", summary(logos), kStartGoalMs);
        print("exit, nothing changed", summary(exits), kExitGoalMs);
        print("exit, a field changed (4 MB file written)", summary(changedExits), kExitGoalMs);
    }

    // Where start-up time goes: reading the file, decoding the logo, fitting it.
    void parts()
    {
        QVector<double> reads, decodes, fits;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer clock;
            clock.start();
            const QJsonObject config = loadConfig();
            reads.append(clock.nsecsElapsed() / 1e6);
            clock.restart();
            const QImage logo = imageFromBase64(config.value(QStringLiteral("logo_image")).toString());
            decodes.append(clock.nsecsElapsed() / 1e6);
            clock.restart();
            const QImage fitted = LogoLoader::boundedCopy(logo).scaled(kShownSide, kShownSide, Qt::KeepAspectRatio,
                                                                      Qt::SmoothTransformation);
            fits.append(clock.nsecsElapsed() / 1e6);
        }
        // Decoding and fitting run on the loader's thread, beside the window.
        print("reading the settings file", summary(reads));
        print("decoding the logo (loader thread)", summary(decodes));
        print("fitting it to the label (bounded copy, then the label's side)", summary(fits));
    }

    void resize()
    {
        MainWindow window(noPorts());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *ui = MainWindowTester::ui(window);
        while (ui->logotype->pixmap(Qt::ReturnByValue).isNull())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const QSize base = window.size();
        QVector<double> times;
        for (int run = 0; run < kRuns * 3; ++run) {
            QElapsedTimer clock;
            clock.start();
            window.resize(base + QSize(run % 2 ? 40 : 0, run % 2 ? 30 : 0));
            QCoreApplication::processEvents();
            times.append(clock.nsecsElapsed() / 1e6);
        }
        print("window resize with the logo shown", summary(times), kResizeGoalMs);
    }
};

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    BenchLogo bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "bench_logo.moc"
