// The user picks a logo file that is not a sound picture, through the real
// main window and a real file: refused with a box, or taken as it is.

#include "imagebytes.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "windowtestmain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The file is checked before it is decoded, so even a picture that claims to
// be huge is refused at once; room for a loaded machine.
constexpr int kCheckLimitMs = 2500;
constexpr int kSide = 64;

} // namespace

class LogoFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(folder.isValid(), "no temporary folder"); }
    void init() { freshSettingsFolder(); }

    void unsoundLogo_data();
    void unsoundLogo();

private:
    QTemporaryDir folder;
    int logoFiles = 0;
};

void LogoFaultsTest::unsoundLogo_data()
{
    QTest::addColumn<QByteArray>("bytes"); // the chosen file's contents; null: the dialog is cancelled
    QTest::addColumn<bool>("refused");     // the error box comes
    QTest::addColumn<bool>("loaded");      // the logo is taken

    QTest::newRow("text file named .png") << QByteArray("this is not a picture\n") << true << false;
    QTest::newRow("empty file") << QByteArray("") << true << false;
    QTest::newRow("PNG cut after its header") << pngBytes(kSide, kSide).left(40) << true << false;
    QTest::newRow("PNG cut in its image data")
        << pngBytes(kSide, kSide).left(pngBytes(kSide, kSide).size() - 30) << true << false;
    // The JPEG decoder fills the missing lines and reports no failure: the
    // picture is taken as it is, shown to the user, who can remove it.
    QTest::newRow("JPEG cut in its image data")
        << jpegBytes(kSide, kSide).left(jpegBytes(kSide, kSide).size() / 2) << false << true;
    QTest::newRow("JPEG cut in its header") << jpegBytes(kSide, kSide).left(100) << true << false;
    QTest::newRow("PNG claiming 200000 x 200000 pixels") << pngClaiming(200000, 200000) << true << false;
    QTest::newRow("PNG claiming 0 x 0 pixels") << pngClaiming(0, 0) << true << false;
    QTest::newRow("sound PNG (reference)") << pngBytes(kSide, 32) << false << true;
    QTest::newRow("file dialog cancelled") << QByteArray() << false << false;
}

void LogoFaultsTest::unsoundLogo()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    QFETCH(bool, loaded);
    const QString file =
        bytes.isNull() ? QString() : folder.filePath(QStringLiteral("logo %1.png").arg(++logoFiles));
    if (!file.isEmpty()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    MainWindow window(noPorts());
    Ui::MainWindow *ui = MainWindowTester::ui(window);
    ModalAnswerer modals;
    modals.queueFile(file);
    QElapsedTimer clock;
    clock.start();
    ui->logo_action->click();
    QVERIFY2(clock.elapsed() < kCheckLimitMs, "the logo is checked before it is decoded");

    if (!refused) {
        QVERIFY(modals.boxes.isEmpty());
    } else {
        QCOMPARE(modals.boxes.size(), 1);
        QCOMPARE(modals.boxes.at(0).title, QStringLiteral("Error"));
        QCOMPARE(modals.boxes.at(0).text, QStringLiteral("Failed to load the image."));
        QCOMPARE(modals.boxes.at(0).parent, static_cast<QWidget *>(&window));
    }
    QCOMPARE(!MainWindowTester::logo(window).isNull(), loaded);
    QCOMPARE(ui->logo_action->text(),
             loaded ? QStringLiteral("Удалить") : QStringLiteral("Добавить логотип"));
    QCOMPARE(ui->logotype->pixmap(Qt::ReturnByValue).isNull(), !loaded);
}

ZRV_WINDOW_TEST_MAIN(LogoFaultsTest)
#include "tst_faults_logo.moc"
