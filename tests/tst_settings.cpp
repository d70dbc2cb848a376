// The settings file: defaults of a first run, fall-backs, conversions, unknown
// keys kept, atomic rewrite, and the logo encoding.

#include "configfile.h"
#include "filefaults.h"
#include "imagebytes.h"
#include "mainwindowtester.h"
#include "settings/logoimage.h"
#include "settings/settingsfile.h"
#include "settings/settingskeys.h"
#include "windowtestmain.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {

void writeRaw(const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(configPath()).absolutePath());
    QFile file(configPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readRaw()
{
    return readAll(configPath());
}

QJsonObject readObject()
{
    return QJsonDocument::fromJson(readRaw()).object();
}

// Every key but the three numbers holds a string.
QStringList stringKeys()
{
    QStringList keys = allSettingsKeys();
    for (const char *number : {"app_font_size", "limits_min_val", "limits_max_val"})
        keys.removeOne(QString::fromLatin1(number));
    return keys;
}

// The string keys kept in line edits of the same name.
QStringList lineEditKeys()
{
    QStringList keys = stringKeys();
    keys.removeOne(QStringLiteral("logo_image"));
    keys.removeOne(QStringLiteral("comments"));
    return keys;
}

QImage sampleImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
    return image;
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }

    void firstRunCreatesDefaults()
    {
        QVERIFY(!QFile::exists(configPath()));
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QVERIFY(QFile::exists(configPath()));
            QCOMPARE(readObject(), defaultConfig());
            QCOMPARE(ui->company_name->text(), QString());
            QCOMPARE(ui->limits_min->value(), 0.0);
            QCOMPARE(ui->limits_max->value(), 10.0);
            QCOMPARE(window.font().pointSize(), 12);
            QCOMPARE(ui->label->font().pointSize(), 12);
            QVERIFY(MainWindowTester::logo(window).isNull());
        }
        const QJsonObject written = readObject();
        QCOMPARE(written.size(), 18 + keysWrittenAtExit().size());
        for (const QString &key : windowPlaceKeys())
            QVERIFY2(!written.value(key).toString().isEmpty(), qPrintable(key));
        for (const QString &key : stringKeys())
            QCOMPARE(written.value(key), QJsonValue(QString()));
        QCOMPARE(written.value(QStringLiteral("app_font_size")), QJsonValue(12));
        QCOMPARE(written.value(QStringLiteral("limits_min_val")).toDouble(), 0.0);
        QCOMPARE(written.value(QStringLiteral("limits_max_val")).toDouble(), 10.0);
        // No certificate chosen, nothing to sign.
        QCOMPARE(written.value(QStringLiteral("signing_certificate_path")), QJsonValue(QString()));
        QCOMPARE(written.value(QStringLiteral("sign_pdf")), QJsonValue(false));
    }

    void valuesSurviveARestart()
    {
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            for (const QString &key : lineEditKeys())
                window.findChild<QLineEdit *>(key)->setText(QStringLiteral("«%1» ж").arg(key));
            ui->comments_text->setPlainText(QStringLiteral("строка 1\nстрока 2"));
            ui->limits_min->setValue(-3.5);
            ui->limits_max->setValue(7.2);
            ui->report_number->setText(QStringLiteral("42"));
        }
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        for (const QString &key : lineEditKeys())
            QCOMPARE(window.findChild<QLineEdit *>(key)->text(), QStringLiteral("«%1» ж").arg(key));
        QCOMPARE(ui->comments_text->toPlainText(), QStringLiteral("строка 1\nстрока 2"));
        QCOMPARE(ui->limits_min->value(), -3.5);
        QCOMPARE(ui->limits_max->value(), 7.2);
        // Not kept between runs.
        QCOMPARE(ui->report_number->text(), QString());
        QCOMPARE(ui->report_date_edit->date(), QDate::currentDate());
    }

    // The unit is kept beside the 18 keys once given, cleared too once kept;
    // a new file does not hold it.
    void unitIsKeptOnceGiven()
    {
        {
            MainWindow window(noPorts());
            QCOMPARE(readObject().contains(QStringLiteral("report_unit")), false);
        }
        QCOMPARE(readObject().contains(QStringLiteral("report_unit")), false);
        {
            MainWindow window(noPorts());
            MainWindowTester::ui(window)->report_unit->setText(QStringLiteral(" мкм "));
        }
        QCOMPARE(readObject().value(QStringLiteral("report_unit")), QJsonValue(QStringLiteral("мкм")));
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QCOMPARE(ui->report_unit->text(), QStringLiteral("мкм"));
            // The plots name their value axis in it.
            QCOMPARE(ui->graph->yAxis->label(), QStringLiteral("мкм"));
            QCOMPARE(ui->diagram->yAxis->label(), QStringLiteral("мкм"));
            ui->report_unit->clear();
            QCOMPARE(ui->graph->yAxis->label(), QString());
        }
        QCOMPARE(readObject().value(QStringLiteral("report_unit")), QJsonValue(QString()));
        MainWindow window(noPorts());
        QCOMPARE(MainWindowTester::ui(window)->report_unit->text(), QString());
    }

    // The kind of band comes back after a restart; the key is written once a
    // one-sided band was chosen, and a name it does not know is two-sided.
    void toleranceKindSurvivesARestart()
    {
        {
            MainWindow window(noPorts());
            MainWindowTester::ui(window)->tolerance_kind->setCurrentIndex(2);
        }
        QCOMPARE(readObject().value(QStringLiteral("tolerance_kind")).toString(),
                 QStringLiteral("upper_only"));
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QCOMPARE(ui->tolerance_kind->currentIndex(), 2);
            ui->tolerance_kind->setCurrentIndex(0);
        }
        QCOMPARE(readObject().value(QStringLiteral("tolerance_kind")).toString(),
                 QStringLiteral("two_sided"));
        QJsonObject object = readObject();
        object.insert(QStringLiteral("tolerance_kind"), QStringLiteral("sideways"));
        writeRaw(QJsonDocument(object).toJson());
        MainWindow window(noPorts());
        QCOMPARE(MainWindowTester::ui(window)->tolerance_kind->currentIndex(), 0);
    }

    // The decimals come back after a restart, the limits with the decimals
    // they were set at; the key is written once a count was chosen, "auto"
    // once Авто is chosen again.
    void decimalsSurviveARestart()
    {
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QCOMPARE(ui->decimals_combo->currentIndex(), 0);
            QCOMPARE(ui->decimals_combo->currentText(), QStringLiteral("Авто"));
            ui->decimals_combo->setCurrentIndex(3);
            ui->limits_min->setValue(9.555);
        }
        QJsonObject object = readObject();
        QCOMPARE(object.value(QStringLiteral("value_decimals")), QJsonValue(3));
        QCOMPARE(object.value(QStringLiteral("limits_min_val")).toDouble(), 9.555);
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QCOMPARE(ui->decimals_combo->currentIndex(), 3);
            QCOMPARE(ui->limits_min->decimals(), 3);
            QCOMPARE(ui->limits_min->value(), 9.555);
            QCOMPARE(ui->stdev_box->decimals(), 3);
            ui->decimals_combo->setCurrentIndex(0);
        }
        object = readObject();
        QCOMPARE(object.value(QStringLiteral("value_decimals")), QJsonValue(QStringLiteral("auto")));
        QCOMPARE(object.value(QStringLiteral("limits_min_val")).toDouble(), 9.6);
    }

    // A stored count from one to four is taken; anything else is Авто.
    void storedDecimals_data()
    {
        QTest::addColumn<QJsonValue>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("1") << QJsonValue(1) << 1;
        QTest::newRow("4") << QJsonValue(4) << 4;
        QTest::newRow("auto") << QJsonValue(QStringLiteral("auto")) << 0;
        QTest::newRow("0") << QJsonValue(0) << 0;
        QTest::newRow("5") << QJsonValue(5) << 0;
        QTest::newRow("2.5") << QJsonValue(2.5) << 0;
        QTest::newRow("text 2") << QJsonValue(QStringLiteral("2")) << 0;
        QTest::newRow("true") << QJsonValue(true) << 0;
    }

    void storedDecimals()
    {
        QFETCH(QJsonValue, stored);
        QFETCH(int, index);
        {
            MainWindow window(noPorts());
        }
        QJsonObject object = readObject();
        object.insert(QStringLiteral("value_decimals"), stored);
        writeRaw(QJsonDocument(object).toJson());
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QCOMPARE(ui->decimals_combo->currentIndex(), index);
        QCOMPARE(ui->limits_max->decimals(), std::max(1, index));
    }

    void emptyObjectIsNotReplacedAtStart()
    {
        writeRaw("{}");
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QCOMPARE(readRaw().trimmed(), QByteArray("{}"));
            QCOMPARE(ui->limits_min->value(), 0.0);
            QCOMPARE(ui->limits_max->value(), 0.0);
            // Missing font size: the form's own sizes stay.
            QCOMPARE(ui->label->font().pointSize(), 12);
        }
        QCOMPARE(readObject().size(), 18 + keysWrittenAtExit().size());
    }

    void unknownKeysSurvive()
    {
        QJsonObject object = defaultConfig();
        object.insert(QStringLiteral("future_option"), QJsonArray{1, QStringLiteral("two")});
        writeRaw(QJsonDocument(object).toJson());
        {
            MainWindow window(noPorts());
        }
        const QJsonObject written = readObject();
        QCOMPARE(written.value(QStringLiteral("future_option")),
                 QJsonValue(QJsonArray{1, QStringLiteral("two")}));
        QCOMPARE(written.size(), 19 + keysWrittenAtExit().size());
    }

    void unusableFileIsReplacedAtExit_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("broken text") << QByteArray("{\"company_name\": \"A\",");
        QTest::newRow("array") << QByteArray("[1, 2, 3]");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe garbage \x01", 14);
        QTest::newRow("empty file") << QByteArray();
    }

    void unusableFileIsReplacedAtExit()
    {
        QFETCH(QByteArray, contents);
        writeRaw(contents);
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QCOMPARE(ui->company_name->text(), QString());
            QCOMPARE(ui->limits_max->value(), 0.0);
            ui->company_name->setText(QStringLiteral("ООО Ромашка"));
        }
        const QJsonDocument document = QJsonDocument::fromJson(readRaw());
        QVERIFY(document.isObject());
        QCOMPARE(document.object().size(), 18 + keysWrittenAtExit().size());
        QCOMPARE(document.object().value(QStringLiteral("company_name")).toString(),
                 QStringLiteral("ООО Ромашка"));
    }

    void conversions_data()
    {
        QTest::addColumn<QJsonValue>("fontSize");
        QTest::addColumn<QJsonValue>("limitsMin");
        QTest::addColumn<QJsonValue>("companyName");
        QTest::addColumn<int>("expectedLabelSize");
        QTest::addColumn<double>("expectedMin");
        QTest::addColumn<QString>("expectedName");

        QTest::newRow("plain") << QJsonValue(14) << QJsonValue(2.345) << QJsonValue(QStringLiteral("A")) << 14
                               << 2.3 << QStringLiteral("A");
        QTest::newRow("fractional font size")
            << QJsonValue(12.5) << QJsonValue(1) << QJsonValue(QStringLiteral("A")) << 12 << 1.0
            << QStringLiteral("A");
        QTest::newRow("font size as string")
            << QJsonValue(QStringLiteral("16")) << QJsonValue(0) << QJsonValue(QStringLiteral("A")) << 12
            << 0.0 << QStringLiteral("A");
        QTest::newRow("wrong types") << QJsonValue(true) << QJsonValue(QStringLiteral("5")) << QJsonValue(17)
                                     << 12 << 0.0 << QString();
        QTest::newRow("beyond range")
            << QJsonValue(9) << QJsonValue(5e9) << QJsonValue(QJsonObject()) << 9 << 999999.0 << QString();
    }

    void conversions()
    {
        QFETCH(QJsonValue, fontSize);
        QFETCH(QJsonValue, limitsMin);
        QFETCH(QJsonValue, companyName);
        QFETCH(int, expectedLabelSize);
        QFETCH(double, expectedMin);
        QFETCH(QString, expectedName);

        QJsonObject object = defaultConfig();
        object.insert(QStringLiteral("app_font_size"), fontSize);
        object.insert(QStringLiteral("limits_min_val"), limitsMin);
        object.insert(QStringLiteral("company_name"), companyName);
        writeRaw(QJsonDocument(object).toJson());
        {
            MainWindow window(noPorts());
            auto *ui = MainWindowTester::ui(window);
            QCOMPARE(ui->label->font().pointSize(), expectedLabelSize);
            QCOMPARE(ui->limits_min->value(), expectedMin);
            QCOMPARE(ui->company_name->text(), expectedName);
        }
        QCOMPARE(readObject().value(QStringLiteral("limits_min_val")).toDouble(), expectedMin);
        QVERIFY(readObject().value(QStringLiteral("app_font_size")).isDouble());
    }

    void logoIsStoredAsPngWhateverItsSource()
    {
        const QImage source = sampleImage(40, 20);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(source.save(&buffer, "JPEG"));
        const QString jpegPath = QDir::temp().filePath(QStringLiteral("zrv-settings-logo.jpg"));
        {
            QFile file(jpegPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(jpeg);
        }
        QImage loaded;
        {
            MainWindow window(noPorts());
            loaded = QImage(jpegPath);
            window.reportLogo().setImage(loaded);
        }
        const QByteArray stored =
            QByteArray::fromBase64(readObject().value(QStringLiteral("logo_image")).toString().toLatin1());
        QVERIFY(stored.startsWith("\x89PNG"));

        MainWindow window(noPorts());
        const QImage back = MainWindowTester::logo(window);
        QCOMPARE(back.size(), loaded.size());
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), loaded.convertToFormat(QImage::Format_RGB32));
        QFile::remove(jpegPath);
    }

    void unusableLogoGivesNoLogo_data()
    {
        QTest::addColumn<QString>("logo");
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        sampleImage(10, 10).save(&buffer, "PNG");
        QByteArray jpeg;
        QBuffer jbuffer(&jpeg);
        jbuffer.open(QIODevice::WriteOnly);
        sampleImage(10, 10).save(&jbuffer, "JPEG");

        // A PNG header claiming 100000 x 100000 pixels: must not be decoded.
        QByteArray huge = pngClaiming(100000, 100000);
        QBuffer probe(&huge);
        probe.open(QIODevice::ReadOnly);
        QCOMPARE(QImageReader(&probe, "PNG").size(), QSize(100000, 100000));

        QTest::newRow("not base64") << QStringLiteral("!!!not base64***");
        QTest::newRow("not an image") << QString::fromLatin1(QByteArray("hello world").toBase64());
        QTest::newRow("jpeg instead of png") << QString::fromLatin1(jpeg.toBase64());
        QTest::newRow("truncated png") << QString::fromLatin1(png.left(png.size() / 2).toBase64());
        QTest::newRow("huge dimensions") << QString::fromLatin1(huge.toBase64());
    }

    void unusableLogoGivesNoLogo()
    {
        QFETCH(QString, logo);
        QJsonObject object = defaultConfig();
        object.insert(QStringLiteral("logo_image"), logo);
        writeRaw(QJsonDocument(object).toJson());
        MainWindow window(noPorts());
        QVERIFY(MainWindowTester::logo(window).isNull());
        QCOMPARE(MainWindowTester::ui(window)->logo_action->text(), QStringLiteral("Добавить логотип"));
    }

    void failedWriteKeepsThePreviousFile()
    {
        QJsonObject previous = defaultConfig();
        previous.insert(QStringLiteral("company_name"), QStringLiteral("Previous"));
        QVERIFY(saveConfig(previous));
        const QByteArray before = readRaw();

        QJsonObject bigger = previous;
        bigger.insert(QStringLiteral("comments"), QString(200000, QLatin1Char('x')));

        // A file-size limit makes the write fail part-way, as a full disk would.
        FileSizeLimit limit;
        QVERIFY(limit.apply(4096));
        const bool saved = saveConfig(bigger);
        limit.release();

        QVERIFY(!saved);
        QCOMPARE(readRaw(), before);
        const QStringList leftovers =
            QDir(QFileInfo(configPath()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(leftovers, QStringList{QStringLiteral("config.json")});
    }

    // The text goes into the file as it is when it needs no escaping, through
    // the JSON writer otherwise; the object's other keys stay either way.
    void textIsSavedUnderItsKey_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("base64") << QString::fromLatin1(QByteArray(100000, '\xa5').toBase64());
        QTest::newRow("empty") << QString();
        QTest::newRow("quote and backslash") << QStringLiteral("a\"b\\c");
        QTest::newRow("line break") << QStringLiteral("one\ntwo");
        QTest::newRow("Cyrillic") << QStringLiteral("логотип");
        QTest::newRow("JSON inside") << QStringLiteral("\", \"company_name\": \"X");
    }

    void textIsSavedUnderItsKey()
    {
        QFETCH(QString, text);
        QJsonObject object = defaultConfig();
        object.insert(QStringLiteral("company_name"), QStringLiteral("ООО «Ромашка»"));
        object.insert(QStringLiteral("logo_image"), QStringLiteral("older text"));
        object.insert(QStringLiteral("future_option"), QJsonArray{1, QStringLiteral("two")});
        QVERIFY(saveConfig(object, QStringLiteral("logo_image"), text));

        QJsonParseError error;
        const QJsonObject written = QJsonDocument::fromJson(readRaw(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        object.insert(QStringLiteral("logo_image"), text);
        QCOMPARE(written, object);
    }

    void imageEncodingRoundTrip()
    {
        QCOMPARE(imageToBase64(QImage()), QString());
        QVERIFY(imageFromBase64(QString()).isNull());
        const QImage image = sampleImage(31, 17);
        QCOMPARE(imageFromBase64(imageToBase64(image)).convertToFormat(QImage::Format_RGB32), image);
    }
};

ZRV_WINDOW_TEST_MAIN(SettingsTest)

#include "tst_settings.moc"
