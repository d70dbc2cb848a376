// Settings the operator must not lose: an unreadable file is kept beside the
// new one and reported once, settings that cannot be written are reported at
// exit, an absurd font size is brought back into range, and an unchanged logo
// is written back as it was read.

#include "configfile.h"
#include "filefaults.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "settings/logoimage.h"
#include "settings/settingsfile.h"

#include "windowtestmain.h"

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QTextCodec>
#include <QtTest>

#include <cmath>

namespace {

// Quality 100 for PNG: no compression.
constexpr int kUncompressed = 100;

QString badPath()
{
    return configPath() + QStringLiteral(".bad");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// A PNG stored without compression: Qt's own encoding of it gives other bytes.
QByteArray uncompressedPng(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 3 % 256, (x + y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", kUncompressed);
    return bytes;
}

// Runs the posted start-up steps (the message about an unreadable file among them).
QVector<MessageBoxSeen> boxesAtStart()
{
    ModalAnswerer modals;
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return modals.boxes;
}

// Writes stop after this many bytes when the disk is full.
constexpr rlim_t kDiskFullAfterBytes = 64;

} // namespace

class SettingsRecoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }
    void cleanup()
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QFile::remove(folder);
        QDir(folder).removeRecursively();
    }

    void unreadableFileIsKeptAndReported_data()
    {
        QTest::addColumn<QByteArray>("contents");
        const QByteArray good = QJsonDocument(defaultConfig()).toJson();
        QTest::newRow("truncated") << good.left(good.size() / 2);
        // A text editor saved it in the legacy Windows code for Cyrillic.
        QJsonObject russian = defaultConfig();
        russian.insert(QStringLiteral("company_name"), QStringLiteral("ООО «Контроль»"));
        QTest::newRow("legacy 8-bit code")
            << QTextCodec::codecForName("Windows-1251")
                   ->fromUnicode(QString::fromUtf8(QJsonDocument(russian).toJson()));
        QTest::newRow("top level an array") << QByteArray("[{\"company_name\": \"A\"}]");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage \x01", 14);
    }

    void unreadableFileIsKeptAndReported()
    {
        QFETCH(QByteArray, contents);
        writeFile(configPath(), contents);
        writeFile(badPath(), "an older unreadable file");
        {
            MainWindow window(noPorts());
            // Kept before anything is written.
            QCOMPARE(readAll(badPath()), contents);
            QCOMPARE(readAll(configPath()), contents);

            const QVector<MessageBoxSeen> boxes = boxesAtStart();
            QCOMPARE(boxes.size(), 1);
            QCOMPARE(boxes.at(0).title, QStringLiteral("Настройки"));
            QCOMPARE(boxes.at(0).icon, QMessageBox::Warning);
            QCOMPARE(boxes.at(0).parent, &window);
            QVERIFY2(boxes.at(0).text.contains(QDir::toNativeSeparators(badPath())),
                     qPrintable(boxes.at(0).text));
            QVERIFY(boxesAtStart().isEmpty());
            MainWindowTester::ui(window)->company_name->setText(QStringLiteral("ООО Новое"));
        }
        QCOMPARE(readConfig().value(QStringLiteral("company_name")).toString(), QStringLiteral("ООО Новое"));
        QCOMPARE(readAll(badPath()), contents);

        // Told once: the next start reads the new file and says nothing.
        MainWindow window(noPorts());
        QVERIFY(boxesAtStart().isEmpty());
        QCOMPARE(MainWindowTester::ui(window)->company_name->text(), QStringLiteral("ООО Новое"));
        QCOMPARE(readAll(badPath()), contents);
    }

    // Nothing was there to lose: no copy, no message.
    void emptyOrSoundFileIsNotReported_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("empty file") << QByteArray("");
        QTest::newRow("blank file") << QByteArray(" \n");
        QTest::newRow("empty object") << QByteArray("{}");
    }

    void emptyOrSoundFileIsNotReported()
    {
        QFETCH(QByteArray, contents);
        if (!contents.isNull())
            writeFile(configPath(), contents);
        MainWindow window(noPorts());
        QVERIFY(boxesAtStart().isEmpty());
        QVERIFY(!QFile::exists(badPath()));
    }

    void unsavedSettingsAreReportedAtExit_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("config.json is a folder") << QStringLiteral("folder");
        QTest::newRow("settings folder is a file") << QStringLiteral("file");
        QTest::newRow("disk full") << QStringLiteral("disk");
    }

    void unsavedSettingsAreReportedAtExit()
    {
        QFETCH(QString, obstacle);
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (obstacle == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(configPath()));
        else if (obstacle == QLatin1String("file"))
            writeFile(folder, "not a folder");
        auto window = std::make_unique<MainWindow>(noPorts());
        MainWindowTester::ui(*window)->company_name->setText(QStringLiteral("ООО Ромашка"));
        MessageBoxSeen box;
        answerNextMessageBox(&box, QMessageBox::Ok);
        {
            FileSizeLimit limit;
            if (obstacle == QLatin1String("disk"))
                QVERIFY(limit.apply(kDiskFullAfterBytes));
            window.reset();
        }
        QVERIFY(box.shown);
        QCOMPARE(box.title, QStringLiteral("Настройки"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY2(box.text.contains(QDir::toNativeSeparators(folder)), qPrintable(box.text));
        QVERIFY(!readAll(configPath()).contains("Ромашка"));
    }

    void savedSettingsSayNothing()
    {
        auto window = std::make_unique<MainWindow>(noPorts());
        ModalAnswerer modals;
        window.reset();
        QVERIFY(modals.boxes.isEmpty());
        QVERIFY(QFile::exists(configPath()));
    }

    // Read and written back within 6-48 points; a value that is no whole
    // number changes no font, as a missing one.
    void fontSizeIsClamped_data()
    {
        QTest::addColumn<QJsonValue>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("500") << QJsonValue(500) << 48;
        QTest::newRow("49") << QJsonValue(49) << 48;
        QTest::newRow("48") << QJsonValue(48) << 48;
        QTest::newRow("1e12") << QJsonValue(1e12) << 48;
        QTest::newRow("14") << QJsonValue(14) << 14;
        QTest::newRow("6") << QJsonValue(6) << 6;
        QTest::newRow("5") << QJsonValue(5) << 6;
        QTest::newRow("0") << QJsonValue(0) << 6;
        QTest::newRow("-30") << QJsonValue(-30) << 6;
        QTest::newRow("12.5") << QJsonValue(12.5) << 12;
        QTest::newRow("\"500\"") << QJsonValue(QStringLiteral("500")) << 12;
        QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined) << 12;
    }

    void fontSizeIsClamped()
    {
        QFETCH(QJsonValue, stored);
        QFETCH(int, shown);
        QJsonObject object = defaultConfig();
        if (stored.isUndefined())
            object.remove(QStringLiteral("app_font_size"));
        else
            object.insert(QStringLiteral("app_font_size"), stored);
        writeFile(configPath(), QJsonDocument(object).toJson());
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            // The form's own 12 points where no size is applied.
            QCOMPARE(ui->label->font().pointSize(), shown);
            QCOMPARE(ui->company_name->font().pointSize(), shown);
        }
        const QJsonValue written = readConfig().value(QStringLiteral("app_font_size"));
        QVERIFY(written.isDouble());
        QVERIFY(written.toInt() >= 6 && written.toInt() <= 48);
        if (!stored.isUndefined() && stored.isDouble() && stored.toDouble() == std::floor(stored.toDouble()))
            QCOMPARE(written.toInt(), shown);
    }

    // An unchanged logo goes back into the file as the text it came from; a
    // new or removed one is written anew.
    void logoTextIsKeptWhileTheLogoIsUnchanged()
    {
        const QString stored = QString::fromLatin1(uncompressedPng(64, 32).toBase64());
        QVERIFY(stored != imageToBase64(imageFromBase64(stored)));
        QJsonObject object = defaultConfig();
        object.insert(QStringLiteral("logo_image"), stored);
        writeFile(configPath(), QJsonDocument(object).toJson());
        {
            MainWindow window(noPorts());
            QCOMPARE(MainWindowTester::logo(window).size(), QSize(64, 32));
        }
        QCOMPARE(readConfig().value(QStringLiteral("logo_image")).toString(), stored);

        // Another field changed: the file is written, the logo's text as it was.
        {
            MainWindow window(noPorts());
            MainWindowTester::ui(window)->company_name->setText(QStringLiteral("ООО \"Новое\""));
        }
        QCOMPARE(readConfig().value(QStringLiteral("logo_image")).toString(), stored);
        QCOMPARE(readConfig().value(QStringLiteral("company_name")).toString(),
                 QStringLiteral("ООО \"Новое\""));
        QCOMPARE(readConfig().size(), defaultConfig().size() + keysWrittenAtExit().size());

        {
            MainWindow window(noPorts());
            QImage replaced(10, 20, QImage::Format_RGB32);
            replaced.fill(Qt::red);
            window.reportLogo().setImage(replaced);
        }
        const QString written = readConfig().value(QStringLiteral("logo_image")).toString();
        QVERIFY(written != stored);
        QCOMPARE(imageFromBase64(written).size(), QSize(10, 20));

        {
            MainWindow window(noPorts());
            window.reportLogo().setImage(QImage());
        }
        QCOMPARE(readConfig().value(QStringLiteral("logo_image")).toString(), QString());
    }
};

ZRV_WINDOW_TEST_MAIN(SettingsRecoveryTest)

#include "tst_settingsrecovery.moc"
