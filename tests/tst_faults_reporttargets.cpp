// The user exports the shown block to a target that may not take it, through
// the real main window and real folders: what the user is asked and told,
// what is written and opened, and that nothing half-written is left behind.

#include "filefaults.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "openedfiles.h"
#include "toolrun.h"
#include "windowtestmain.h"
#include "xlsxreader.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Where the user sends a report.
enum class Target {
    CyrillicAndSpaces,  // a sound folder, a name with Cyrillic letters and spaces
    Cancelled,          // the user cancels the file dialog
    MissingFolder,      // a folder that does not exist
    ReadOnlyFolder,     // a new file in a folder that cannot be written (immutable)
    LockedFile,         // an earlier report that cannot be opened for writing
    DiskFullOverEarlier // an earlier report, and the disk fills up while the new one is written
};

// What the user sees: whether the empty-fields question came, whether the
// report was written and handed to the desktop, whether the failure box came.
struct ExportSeen
{
    bool asked = false;
    bool written = false;
    bool failed = false;
};

// An export never waits on the disk for long; room for a loaded machine.
constexpr int kExportLimitMs = 4 * 2500;
// Writes stop after this many bytes when the disk is full.
constexpr rlim_t kFullDiskBytes = 1024;

const QString kQuestion = QStringLiteral("Включать незаполненные поля в отчет?");
const QString kFailureTitle = QStringLiteral("Ошибка");
const QString kFailureText =
    QStringLiteral("Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и не "
                   "открыта ли прошлая версия файла.");
const QString kFolderText = QStringLiteral("Не удалось сохранить файл: папка недоступна для записи.\n%1");
const QString kLockedText =
    QStringLiteral("Не удалось сохранить файл: он открыт в другой программе или защищен от записи.\n%1");
const QByteArray kEarlier("an earlier report, kept until a new one is complete\n");

// The target's path in `base`.
QString targetPath(Target target, const QString &base, const QString &extension)
{
    switch (target) {
    case Target::CyrillicAndSpaces:
        return base + QStringLiteral("/Отчёт о контроле №17  партия 3.") + extension;
    case Target::Cancelled:
        return base + QStringLiteral("/never written.") + extension;
    case Target::MissingFolder:
        return base + QStringLiteral("/нет такой папки/report.") + extension;
    case Target::ReadOnlyFolder:
    case Target::LockedFile:
    case Target::DiskFullOverEarlier:
        break;
    }
    return base + QStringLiteral("/report.") + extension;
}

} // namespace

Q_DECLARE_METATYPE(Target)
Q_DECLARE_METATYPE(ExportSeen)

class ReportTargetFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(folder.isValid(), "no temporary folder");
        // The rows that need a folder not even root can write rely on this.
        QVERIFY2(immutableFolderRefusesFiles(folder.path()), "cannot make a folder unwritable here");
    }
    void init() { freshSettingsFolder(); }

    void exportTarget_data();
    void exportTarget();

private:
    QTemporaryDir folder;
    int reportFolders = 0;
};

void ReportTargetFaultsTest::exportTarget_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<Target>("target");
    QTest::addColumn<ExportSeen>("seen");
    QTest::addColumn<bool>("earlierKept"); // an earlier report at the target stays byte for byte intact

    const ExportSeen nothing;
    const ExportSeen written{true, true, false};
    const ExportSeen failed{true, false, true};
    const ExportSeen locked{false, false, true};
    for (const bool pdf : {true, false}) {
        const QByteArray kind = pdf ? "PDF" : "Excel";
        QTest::newRow((kind + " report: file dialog cancelled").constData())
            << pdf << Target::Cancelled << nothing << false;
        QTest::newRow((kind + " report: path with Cyrillic letters and spaces").constData())
            << pdf << Target::CyrillicAndSpaces << written << false;
        QTest::newRow((kind + " report: missing folder").constData())
            << pdf << Target::MissingFolder << failed << false;
        QTest::newRow((kind + " report: read-only folder").constData())
            << pdf << Target::ReadOnlyFolder << failed << false;
        QTest::newRow((kind + " report: locked file").constData())
            << pdf << Target::LockedFile << locked << true;
        QTest::newRow((kind + " report: disk full over an earlier report").constData())
            << pdf << Target::DiskFullOverEarlier << failed << true;
    }
}

void ReportTargetFaultsTest::exportTarget()
{
    QFETCH(bool, pdf);
    QFETCH(Target, target);
    QFETCH(ExportSeen, seen);
    QFETCH(bool, earlierKept);
    const QString base = folder.filePath(QStringLiteral("reports %1").arg(++reportFolders));
    QVERIFY(QDir().mkpath(base));
    const QString path = targetPath(target, base, pdf ? QStringLiteral("pdf") : QStringLiteral("xlsx"));
    ImmutableGuard guard;
    FileSizeLimit limit;
    if (earlierKept) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kEarlier);
    }

    MainWindow window(noPorts());
    Ui::MainWindow *ui = MainWindowTester::ui(window);
    MainWindowTester::setBlocks(window, {{QStringLiteral("Т 0001"), {4.81f, 4.79f, 4.83f, 5.2f}}});
    QMetaObject::invokeMethod(&window, "on_block_names_list_itemDoubleClicked",
                              Q_ARG(QListWidgetItem *, ui->block_names_list->item(0)));
    QPushButton *button = pdf ? ui->button_export_to_PDF : ui->button_export_to_excel;
    QVERIFY(button->isEnabled());

    OpenedFiles opened;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
    if (target == Target::ReadOnlyFolder) {
        QVERIFY(setImmutable(base, true));
        guard.path = base;
    } else if (target == Target::LockedFile) {
        QVERIFY(setImmutable(path, true));
        guard.path = path;
    } else if (target == Target::DiskFullOverEarlier) {
        QVERIFY(limit.apply(kFullDiskBytes));
    }

    ModalAnswerer modals;
    modals.queueFile(target == Target::Cancelled ? QString() : path);
    modals.queueButton(QMessageBox::No); // empty fields: left out
    QElapsedTimer clock;
    clock.start();
    button->click();
    QVERIFY2(clock.elapsed() < kExportLimitMs, "an export never waits on the disk for long");
    limit.release();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    const bool asked = !modals.boxes.isEmpty() && modals.boxes.first().text == kQuestion;
    QCOMPARE(asked, seen.asked);
    const QVector<MessageBoxSeen> others = modals.boxes.mid(asked ? 1 : 0);
    if (!seen.failed) {
        QVERIFY2(others.isEmpty(), others.isEmpty() ? "" : qPrintable(others.first().text));
    } else {
        QCOMPARE(others.size(), 1);
        QCOMPARE(others.first().title, kFailureTitle);
        // Each cause its own text; a full disk, which nothing shows beforehand, the generic one.
        QString text = kFailureText;
        if (target == Target::MissingFolder || target == Target::ReadOnlyFolder)
            text = kFolderText.arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
        else if (target == Target::LockedFile)
            text = kLockedText.arg(QDir::toNativeSeparators(path));
        QCOMPARE(others.first().text, text);
        QCOMPARE(others.first().icon, QMessageBox::Warning);
    }
    QCOMPARE(opened.paths(), seen.written ? QStringList{path} : QStringList());

    if (seen.written) {
        // Read back by an independent reader.
        if (pdf)
            QVERIFY2(runTool(QStringLiteral("pdfinfo"), {path}).ok(),
                     "pdfinfo cannot read the written report");
        else
            QVERIFY2(!readWorkbook(path).isEmpty(), "openpyxl cannot read the written report");
    }
    if (earlierKept) {
        setImmutable(guard.path, false);
        QCOMPARE(readAll(path), kEarlier);
    }
    // No half-written file and no leftovers beside the target.
    QStringList expectedFiles;
    if (seen.written || earlierKept)
        expectedFiles.append(QFileInfo(path).fileName());
    if (target != Target::MissingFolder)
        QCOMPARE(QDir(base).entryList(QDir::Files | QDir::Hidden), expectedFiles);
    else
        QVERIFY(!QFileInfo::exists(QFileInfo(path).path()));
}

ZRV_WINDOW_TEST_MAIN(ReportTargetFaultsTest)
#include "tst_faults_reporttargets.moc"
