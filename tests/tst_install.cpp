// Installed like a desktop program: `cmake --install` into a temporary
// prefix puts zrv into bin/, a valid menu entry into share/applications and
// the icon into the hicolor theme, the same picture the window and its about
// box show.

#include "mainwindowtester.h"
#include "modalhelper.h"
#include "toolrun.h"

#include "windowtestmain.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const int kIconSides[] = {16, 24, 32, 48, 64, 128, 256};
// QMessageBox::about shows the window icon at this size.
constexpr int kAboutIconSide = 64;

QImage pixels(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(prefix.isValid());
        const ToolRun install = runTool(QStringLiteral(ZRV_CMAKE_COMMAND),
                                        {QStringLiteral("--install"), QStringLiteral(ZRV_BINARY_DIR),
                                         QStringLiteral("--prefix"), prefix.path()});
        QVERIFY2(install.ok(), (install.output + install.errors).constData());
    }

    void program()
    {
        const QFileInfo installed(prefix.filePath(QStringLiteral("bin/zrv")));
        QVERIFY(installed.isFile());
        QVERIFY(installed.isExecutable());
        QCOMPARE(installed.size(), QFileInfo(QStringLiteral(ZRV_BINARY_DIR "/zrv")).size());
    }

    void stationProgram()
    {
        const QFileInfo installed(prefix.filePath(QStringLiteral("bin/zrv-station")));
        QVERIFY(installed.isFile());
        QVERIFY(installed.isExecutable());
        QCOMPARE(installed.size(), QFileInfo(QStringLiteral(ZRV_BINARY_DIR "/zrv-station")).size());
    }

    void menuEntry()
    {
        const QString path = prefix.filePath(QStringLiteral("share/applications/zrv.desktop"));
        QVERIFY(QFile::exists(path));
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        QVERIFY2(!validator.isEmpty(), "desktop-file-validate is missing (package desktop-file-utils)");
        const ToolRun validation = runTool(validator, {path});
        QVERIFY(validation.ok());
        // Hints and warnings count too.
        const QByteArray said = (validation.output + validation.errors).trimmed();
        QVERIFY2(said.isEmpty(), said.constData());

        QSettings entry(path, QSettings::IniFormat);
        entry.setIniCodec("UTF-8");
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
        QCOMPARE(entry.value(QStringLiteral("Name")).toString(), QStringLiteral("ZRV"));
        QCOMPARE(entry.value(QStringLiteral("Exec")).toString(), QStringLiteral("zrv"));
        QCOMPARE(entry.value(QStringLiteral("Icon")).toString(), QStringLiteral("zrv"));
        QCOMPARE(entry.value(QStringLiteral("Terminal")).toString(), QStringLiteral("false"));
    }

    void themeIcons()
    {
        QFile svg(prefix.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/zrv.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&svg);
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name().toString(), QStringLiteral("svg"));

        for (int side : kIconSides) {
            const QString path =
                prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/zrv.png").arg(side));
            const QImage image(path);
            QVERIFY2(!image.isNull(), qPrintable(path));
            QCOMPARE(image.size(), QSize(side, side));
        }
    }

    // The window and its about box show the installed picture.
    void windowShowsTheSameIcon()
    {
        freshSettingsFolder();
        MainWindow window(noPorts());
        for (int side : kIconSides) {
            const QImage installed(
                prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/zrv.png").arg(side)));
            QCOMPARE(pixels(window.windowIcon().pixmap(side, side).toImage()), pixels(installed));
        }

        QImage about;
        whenModalAppears(
            [&about](QWidget *modal) {
                auto *box = static_cast<QMessageBox *>(modal);
                about = box->iconPixmap().toImage();
                box->done(QMessageBox::Ok);
            },
            [](QWidget *modal) { return qobject_cast<QMessageBox *>(modal) != nullptr; });
        MainWindowTester::ui(window)->about_program->trigger();
        const QImage installed(prefix.filePath(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/zrv.png").arg(kAboutIconSide)));
        QCOMPARE(pixels(about), pixels(installed));
    }

private:
    QTemporaryDir prefix;
};

ZRV_WINDOW_TEST_MAIN(InstallTest)

#include "tst_install.moc"
