// A settings file in trouble, played through the real main window with real
// files: what the form shows at start-up, what the operator is told, and what
// the file holds after exit.

#include "filefaults.h"
#include "imagebytes.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "windowtestmain.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Where the settings file lives and what stands in its way.
enum class Place {
    Normal,         // a writable folder
    FolderIsFile,   // a regular file where the folder should be
    FileIsFolder,   // a folder where config.json should be: it can be neither read nor written
    FolderReadOnly, // the folder cannot be written (immutable)
    DiskFull,       // writes stop after a few bytes (file-size limit)
};

// What must survive the fault.
enum class Kept {
    FreshFile,    // at exit the file holds the 18 keys with the form's values
    KeptAside,    // as FreshFile, and the unreadable file is kept as config.json.bad
    UnknownKey,   // a key the program does not know is still there at exit
    PreviousFile, // the write at exit failed; the previous file is byte for byte intact
    BlockingFile, // the file in the folder's place is untouched, nothing was created
};

// What the operator is told.
enum class Told {
    Nothing,
    Unreadable, // at start-up: the file could not be read and was kept aside
    NotSaved,   // at exit: the settings could not be saved in their folder
};

// What the form shows at start-up.
struct FormSeen
{
    QString companyName;
    double limitsMin = 0;
    double limitsMax = 0;
    bool logo = false;
};

// Writes stop after this many bytes when the disk is full.
constexpr rlim_t kFullDiskBytes = 64;

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QJsonObject goodSettings()
{
    QJsonObject o;
    o.insert(QStringLiteral("company_name"), QStringLiteral("ООО Контроль"));
    o.insert(QStringLiteral("limits_min_val"), 1.5);
    o.insert(QStringLiteral("limits_max_val"), 7.5);
    o.insert(QStringLiteral("app_font_size"), 12);
    return o;
}

QByteArray nested(int depth)
{
    return QByteArray(depth, '[') + QByteArray(depth, ']');
}

} // namespace

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(Kept)
Q_DECLARE_METATYPE(Told)
Q_DECLARE_METATYPE(FormSeen)

class SettingsFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(folder.isValid(), "no temporary folder");
        // The rows that need a folder not even root can write rely on this.
        QVERIFY2(immutableFolderRefusesFiles(folder.path()), "cannot make a folder unwritable here");
    }
    void init() { settingsFolder = freshSettingsFolder(); }
    void cleanup()
    {
        setImmutable(settingsFolder, false);
        QFile::remove(settingsFolder);
        QDir(settingsFolder).removeRecursively();
    }

    void faultySettingsFile_data();
    void faultySettingsFile();

private:
    // The settings file's contents (null: no file) and where it stands.
    void writeSettings(const QByteArray &bytes, Place place);
    void compareKept(Kept kept, const FormSeen &seen, const QByteArray &bytes, Place place,
                     const QByteArray &before);
    void compareTold(Told told, const QVector<MessageBoxSeen> &boxes);

    QTemporaryDir folder;
    QString settingsFolder;
};

void SettingsFaultsTest::faultySettingsFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Place>("place");
    QTest::addColumn<FormSeen>("seen");
    QTest::addColumn<Kept>("kept");
    QTest::addColumn<Told>("told");
    const FormSeen empty; // every field empty, both limits 0, no logo
    FormSeen good;
    good.companyName = QStringLiteral("ООО Контроль");
    good.limitsMin = 1.5;
    good.limitsMax = 7.5;
    const Place normal = Place::Normal;

    const QByteArray full = json(goodSettings());
    const Told nothing = Told::Nothing;
    QTest::newRow("truncated") << full.left(full.size() / 2) << normal << empty << Kept::KeptAside
                               << Told::Unreadable;
    {
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(static_cast<char>((i * 7919 + 13) % 256));
        QTest::newRow("binary garbage") << garbage << normal << empty << Kept::KeptAside << Told::Unreadable;
        QTest::newRow("UTF-16 with a byte-order mark")
            << QByteArray("\xFF\xFE", 2)
                   + QByteArray(reinterpret_cast<const char *>(QStringLiteral("{}").utf16()), 4)
            << normal << empty << Kept::KeptAside << Told::Unreadable;
    }
    {
        QJsonObject o = goodSettings();
        o.insert(QStringLiteral("archive"), QString(12 * 1024 * 1024, QLatin1Char('x')));
        QTest::newRow("very large (12 MB)") << json(o) << normal << good << Kept::UnknownKey << nothing;
    }
    {
        QJsonObject o;
        o.insert(QStringLiteral("company_name"), 5);
        o.insert(QStringLiteral("company_city"), QJsonArray{1, 2});
        o.insert(QStringLiteral("logo_image"), 17);
        o.insert(QStringLiteral("app_font_size"), QStringLiteral("12"));
        o.insert(QStringLiteral("limits_min_val"), QStringLiteral("3"));
        o.insert(QStringLiteral("limits_max_val"), QJsonObject{{QStringLiteral("v"), 9}});
        o.insert(QStringLiteral("comments"), QJsonValue::Null);
        QTest::newRow("every key of another type") << json(o) << normal << empty << Kept::FreshFile << nothing;
    }
    QTest::newRow("top level an array")
        << QByteArray("[1, 2, 3]") << normal << empty << Kept::KeptAside << Told::Unreadable;
    QTest::newRow("nested deeper than the parser goes")
        << "{\"company_name\": \"ООО Контроль\", \"x\": " + nested(100000) + "}" << normal << empty
        << Kept::KeptAside << Told::Unreadable;
    {
        QByteArray text = full;
        text.chop(text.size() - text.lastIndexOf('}'));
        text += ", \"archive\": " + nested(500) + "}";
        QTest::newRow("nested deeply under an unknown key")
            << text << normal << good << Kept::UnknownKey << nothing;
    }
    {
        QJsonObject o = goodSettings();
        o.insert(QStringLiteral("logo_image"), QString::fromLatin1(pngBytes(40, 40).left(300).toBase64()));
        QTest::newRow("logo a truncated PNG") << json(o) << normal << good << Kept::FreshFile << nothing;
        o.insert(QStringLiteral("logo_image"), QStringLiteral("%%% not base64 %%%"));
        QTest::newRow("logo not Base64") << json(o) << normal << good << Kept::FreshFile << nothing;
        o.insert(QStringLiteral("logo_image"), QString::fromLatin1(pngClaiming(200000, 200000).toBase64()));
        QTest::newRow("logo of absurd dimensions") << json(o) << normal << good << Kept::FreshFile << nothing;
        o.insert(QStringLiteral("logo_image"), QString::fromLatin1(pngBytes(40, 40).toBase64()));
        FormSeen withLogo = good;
        withLogo.logo = true;
        QTest::newRow("sound file with a logo (reference)")
            << json(o) << normal << withLogo << Kept::FreshFile << nothing;
    }
    QTest::newRow("folder cannot be written")
        << full << Place::FolderReadOnly << good << Kept::PreviousFile << Told::NotSaved;
    QTest::newRow("disk full at exit") << full << Place::DiskFull << good << Kept::PreviousFile << Told::NotSaved;
    QTest::newRow("folder cannot be created")
        << QByteArray() << Place::FolderIsFile << empty << Kept::BlockingFile << Told::NotSaved;
    QTest::newRow("config.json is a folder")
        << QByteArray() << Place::FileIsFolder << empty << Kept::BlockingFile << Told::NotSaved;
}

void SettingsFaultsTest::faultySettingsFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Place, place);
    QFETCH(FormSeen, seen);
    QFETCH(Kept, kept);
    QFETCH(Told, told);
    const QString path = settingsFolder + QStringLiteral("/config.json");
    writeSettings(bytes, place);
    if (QTest::currentTestFailed())
        return;
    const QByteArray before = readAll(place == Place::FolderIsFile ? settingsFolder : path);
    ImmutableGuard guard;
    if (place == Place::FolderReadOnly) {
        QVERIFY(setImmutable(settingsFolder, true));
        guard.path = settingsFolder;
    }

    ModalAnswerer modals;
    {
        auto window = std::make_unique<MainWindow>(noPorts());
        // The start-up steps that wait for the event loop (the message among them).
        QCoreApplication::processEvents();
        Ui::MainWindow *ui = MainWindowTester::ui(*window);
        QCOMPARE(ui->company_name->text(), seen.companyName);
        QCOMPARE(ui->limits_min->value(), seen.limitsMin);
        QCOMPARE(ui->limits_max->value(), seen.limitsMax);
        QCOMPARE(!MainWindowTester::logo(*window).isNull(), seen.logo);
        QCOMPARE(ui->logo_action->text(),
                 seen.logo ? QStringLiteral("Удалить") : QStringLiteral("Добавить логотип"));

        // The user edits; the edit reaches the file at exit, if it can.
        ui->company_city->setText(QStringLiteral("Екатеринбург"));
        FileSizeLimit limit;
        if (place == Place::DiskFull)
            QVERIFY(limit.apply(kFullDiskBytes));
        window.reset();
    }
    compareTold(told, modals.boxes);
    compareKept(kept, seen, bytes, place, before);
}

void SettingsFaultsTest::writeSettings(const QByteArray &bytes, Place place)
{
    const QString path = settingsFolder + QStringLiteral("/config.json");
    if (place == Place::FileIsFolder)
        QVERIFY(QDir().mkpath(path));
    if (place == Place::FolderIsFile) {
        QDir().mkpath(QFileInfo(settingsFolder).path());
        QFile blocker(settingsFolder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    } else if (!bytes.isNull()) {
        QVERIFY(QDir().mkpath(settingsFolder));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
    }
}

void SettingsFaultsTest::compareKept(Kept kept, const FormSeen &seen, const QByteArray &bytes, Place place,
                                     const QByteArray &before)
{
    const QString path = settingsFolder + QStringLiteral("/config.json");
    switch (kept) {
    case Kept::FreshFile:
    case Kept::KeptAside:
    case Kept::UnknownKey: {
        const QJsonDocument doc = QJsonDocument::fromJson(readAll(path));
        QVERIFY(doc.isObject());
        const QJsonObject o = doc.object();
        for (const QString &key : allSettingsKeys())
            QVERIFY2(o.contains(key), qPrintable(key));
        QCOMPARE(o.value(QStringLiteral("company_city")).toString(), QStringLiteral("Екатеринбург"));
        QCOMPARE(o.value(QStringLiteral("company_name")).toString(), seen.companyName);
        QCOMPARE(o.value(QStringLiteral("logo_image")).toString().isEmpty(), !seen.logo);
        if (kept == Kept::KeptAside)
            QCOMPARE(readAll(path + QStringLiteral(".bad")), bytes);
        else
            QVERIFY(!QFile::exists(path + QStringLiteral(".bad")));
        if (kept == Kept::UnknownKey) {
            const QJsonObject original = QJsonDocument::fromJson(bytes).object();
            QVERIFY(o.contains(QStringLiteral("archive")));
            QCOMPARE(o.value(QStringLiteral("archive")), original.value(QStringLiteral("archive")));
        }
        break;
    }
    case Kept::PreviousFile:
        QCOMPARE(readAll(path), before);
        QCOMPARE(QDir(settingsFolder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("config.json")});
        break;
    case Kept::BlockingFile:
        if (place == Place::FileIsFolder) {
            QVERIFY(QFileInfo(path).isDir());
            QVERIFY(QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
            QCOMPARE(QDir(settingsFolder).entryList(QDir::Files | QDir::Hidden), QStringList());
        } else {
            QVERIFY(QFileInfo(settingsFolder).isFile());
            QCOMPARE(readAll(settingsFolder), before);
        }
        break;
    }
}

void SettingsFaultsTest::compareTold(Told told, const QVector<MessageBoxSeen> &boxes)
{
    if (told == Told::Nothing) {
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.value(0).text));
        return;
    }
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).title, QStringLiteral("Настройки"));
    QCOMPARE(boxes.at(0).icon, QMessageBox::Warning);
    const QString named = told == Told::Unreadable
                              ? QDir::toNativeSeparators(settingsFolder + QStringLiteral("/config.json.bad"))
                              : QDir::toNativeSeparators(settingsFolder);
    QVERIFY2(boxes.at(0).text.contains(named), qPrintable(boxes.at(0).text));
}

ZRV_WINDOW_TEST_MAIN(SettingsFaultsTest)
#include "tst_faults_settings.moc"
