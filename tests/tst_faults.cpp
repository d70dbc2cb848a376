// Faults a real instrument, disk or user can produce, each played through the
// real main window: a simulated instrument on a pseudo-terminal, real settings
// files, real logo files. Every row says what the user must see afterwards and
// what must survive the fault; every row must end without a crash and without
// waiting longer than the link's own timeouts.

#include "device/blockname.h"
#include "instrumentnamecode.h"
#include "logcapture.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "openedfiles.h"
#include "simulatedlink.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Room for a loaded machine (and sanitizers) on top of the link's own
// timeouts; stretched further by the tests' time factor (testtime.h).
const int kSlackMs = testMs(2500);
// The first poll of the port monitor comes this long after the window starts.
constexpr int kPollMs = 500;
// The whole handshake on a silent port: 3 x 700 ms, then 2000 ms.
constexpr int kHandshakeMs = 3 * 700 + 2000;
constexpr int kShortTimeoutMs = 200;
constexpr int kTimeoutPerValueMs = 10;

enum class Area { Link, Settings, Logo, Report };

// Where the user sends a report.
enum class Target {
    CyrillicAndSpaces,  // a sound folder, a name with Cyrillic letters and spaces
    Cancelled,          // the user cancels the file dialog
    MissingFolder,      // a folder that does not exist
    ReadOnlyFolder,     // a new file in a folder that cannot be written (immutable)
    LockedFile,         // an earlier report that cannot be opened for writing
    DiskFullOverEarlier // an earlier report, and the disk fills up while the new one is written
};

// Where the settings file lives and what stands in its way.
enum class Place {
    Normal,         // a writable folder
    FolderIsFile,   // a regular file where the folder should be
    FileIsFolder,   // a folder where config.json should be: it can be neither read nor written
    FolderReadOnly, // the folder cannot be written (immutable)
    DiskFull,       // writes stop after a few bytes (file-size limit)
};

struct Fault
{
    Area area = Area::Link;
    // Link: how the instrument misbehaves; applied before plugging in when
    // `fromPlugIn`, otherwise once the instrument has been found.
    InstrumentBehaviour behaviour;
    bool fromPlugIn = false;
    // Link: after the fault, plug the instrument back in and read again.
    bool plugBackIn = false;
    // Link: a port that cannot be opened shows up before the instrument.
    bool unopenablePortFirst = false;
    // Settings: the file's contents (null: no file); Logo: the chosen file's contents.
    QByteArray bytes;
    Place place = Place::Normal;
    // Report: which writer, and where to.
    bool pdf = true;
    Target target = Target::CyrillicAndSpaces;
};

struct Seen
{
    // Link: whether the instrument is found, the rows listed after the read
    // with their values, and whether the read button offers another read.
    bool found = true;
    QVector<MemoryBlock> blocks;
    bool readEnabled = true;
    // Settings: what the form shows at start-up.
    QString companyName;
    double limitsMin = 0;
    double limitsMax = 0;
    bool logo = false;
    // Message box shown (empty title: none at all).
    QString boxTitle;
    QString boxText;
    // Report: whether the empty-fields question came, a file was written and handed to the desktop.
    bool asked = false;
    bool written = false;
    bool opened = false;
    // The longest the user may be kept waiting, from the link's own timeouts.
    int waitLimitMs = 0;
};

enum class Kept {
    Nothing,       // nothing to keep beyond what the user sees
    FreshFile,     // settings: at exit the file holds the 18 keys with the form's values
    UnknownKey,    // settings: a key the program does not know is still there at exit
    PreviousFile,  // settings: the write at exit failed; the previous file is byte for byte intact
    BlockingFile,  // settings: the file in the folder's place is untouched, nothing was created
    EarlierReport, // report: the earlier report at the target is byte for byte intact
};

QVector<SimulatedBlock> threeBlocks()
{
    return {
        {QStringLiteral("Т 0001"), {4.81f, 4.79f, 4.83f}},
        {QStringLiteral("Lot A 0002"), {142.5f}},
        {QStringLiteral("Сварной шов 0003"), {196.0f, 201.0f}},
    };
}

QString shownName(int index, int bytes = kInstrumentNameSize)
{
    return decodeBlockName(encodeInstrumentName(threeBlocks().at(index).name).left(bytes));
}

MemoryBlock block(int index, bool withName, bool withValues)
{
    MemoryBlock b;
    if (withName)
        b.name = shownName(index);
    if (withValues)
        b.values = threeBlocks().at(index).values;
    return b;
}

QVector<MemoryBlock> allBlocks()
{
    return {block(0, true, true), block(1, true, true), block(2, true, true)};
}

// The time a complete read of the three blocks spends in data waits at most.
constexpr int kAllDataMs = kTimeoutPerValueMs * (3 + 1 + 2);

FaultSwitch on(std::initializer_list<int> commands)
{
    FaultSwitch s;
    s.enabled = true;
    s.commands = QSet<int>(commands);
    return s;
}

InstrumentBehaviour silentOn(int code)
{
    InstrumentBehaviour b;
    b.silence = on({code});
    return b;
}

InstrumentBehaviour errorOn(int code, int index = -1)
{
    InstrumentBehaviour b;
    b.errorAnswer = on({code});
    b.errorIndex = index;
    return b;
}

InstrumentBehaviour partialOn(int code, int bytes)
{
    InstrumentBehaviour b;
    b.partial = on({code});
    b.partialBytes = bytes;
    return b;
}

InstrumentBehaviour unplugAfter(int requests)
{
    InstrumentBehaviour b;
    b.unplugAfterRequests = requests;
    return b;
}

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

QByteArray pngBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 30));
    for (int y = 0; y < h; ++y)
        image.setPixel(y % w, y, qRgb(y % 256, 0, 255 - y % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A well-formed PNG whose header claims width x height pixels.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = pngBytes(4, 4);
    QByteArray header = png.mid(12, 17); // "IHDR" and its 13 bytes
    auto put32 = [&header](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    };
    put32(4, width);
    put32(8, height);
    png.replace(12, 17, header);
    const quint32 crc = crc32(header);
    for (int i = 0; i < 4; ++i)
        png[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
    return png;
}

QByteArray nested(int depth)
{
    return QByteArray(depth, '[') + QByteArray(depth, ']');
}

bool setImmutableFlag(const QString &path, bool immutable)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// Makes a file or folder unwritable even for root (the immutable flag); an
// ordinary user, who may not set that flag, gets read-only permissions.
bool setImmutable(const QString &path, bool immutable)
{
    if (setImmutableFlag(path, immutable))
        return true;
    if (::geteuid() == 0)
        return false;
    const bool folder = QFileInfo(path).isDir();
    const mode_t mode = immutable ? (folder ? 0555 : 0444) : (folder ? 0755 : 0644);
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

struct ImmutableGuard
{
    QString path;
    ~ImmutableGuard()
    {
        if (!path.isEmpty())
            setImmutable(path, false);
    }
};

// Files may not grow beyond `bytes` while it lives: the disk is full.
struct FileSizeLimit
{
    rlimit previous{};
    void (*previousHandler)(int) = SIG_DFL;
    bool active = false;
    bool handlerSet = false;

    void apply(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        handlerSet = true;
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    void release()
    {
        if (active)
            setrlimit(RLIMIT_FSIZE, &previous);
        if (handlerSet)
            std::signal(SIGXFSZ, previousHandler);
        active = false;
        handlerSet = false;
    }
    ~FileSizeLimit() { release(); }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void compareBlocks(const QVector<MemoryBlock> &actual, QListWidget *list,
                   const QVector<MemoryBlock> &expected)
{
    QCOMPARE(list->count(), expected.size());
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(list->item(i)->text(), expected.at(i).name);
        QCOMPARE(actual.at(i).name, expected.at(i).name);
        QCOMPARE(actual.at(i).values, expected.at(i).values);
    }
}

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Seen)
Q_DECLARE_METATYPE(Kept)

class FaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(folder.isValid(), "no temporary folder");
        // The rows that need a folder not even root can write rely on this.
        const QString probe = folder.filePath(QStringLiteral("probe"));
        QVERIFY(QDir().mkpath(probe));
        QVERIFY2(setImmutable(probe, true), "cannot make a folder unwritable here");
        QFile inside(probe + QStringLiteral("/file"));
        const bool writable = inside.open(QIODevice::WriteOnly);
        setImmutable(probe, false);
        QVERIFY2(!writable, "an unwritable folder could still be written");
    }
    void init() { settingsFolder = freshSettingsFolder(); }
    void cleanup()
    {
        setImmutable(settingsFolder, false);
        QFile::remove(settingsFolder);
        QDir(settingsFolder).removeRecursively();
    }

    void fault_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<Seen>("seen");
        QTest::addColumn<Kept>("kept");

        linkRows();
        settingsRows();
        logoRows();
        reportRows();
    }

    void fault()
    {
        QFETCH(Fault, fault);
        QFETCH(Seen, seen);
        QFETCH(Kept, kept);
        switch (fault.area) {
        case Area::Link:
            runLink(fault, seen);
            break;
        case Area::Settings:
            runSettings(fault, seen, kept);
            break;
        case Area::Logo:
            runLogo(fault, seen);
            break;
        case Area::Report:
            runReport(fault, seen, kept);
            break;
        }
    }

private:
    void linkRows()
    {
        using namespace instrumentcode;
        const QVector<MemoryBlock> all = allBlocks();
        auto row = [](const char *name, const Fault &f, const Seen &s) {
            QTest::newRow(name) << f << s << Kept::Nothing;
        };
        auto link = [](const InstrumentBehaviour &b, bool fromPlugIn = false, bool plugBackIn = false) {
            Fault f;
            f.area = Area::Link;
            f.behaviour = b;
            f.fromPlugIn = fromPlugIn;
            f.plugBackIn = plugBackIn;
            return f;
        };
        auto seenRead = [](const QVector<MemoryBlock> &blocks, int waitMs, bool readEnabled = true) {
            Seen s;
            s.blocks = blocks;
            s.readEnabled = readEnabled;
            s.waitLimitMs = waitMs;
            return s;
        };
        Seen notFound;
        notFound.found = false;
        notFound.readEnabled = false;
        notFound.waitLimitMs = kPollMs + kHandshakeMs;

        // Silence: each request runs out its own timeout and nothing more.
        row("silence: identification", link(silentOn(kIdentify), true), notFound);
        row("silence: count", link(silentOn(kBlocksAmount)), seenRead({}, kShortTimeoutMs));
        row("silence: names", link(silentOn(kBlockName)),
            seenRead({block(0, false, true), block(1, false, true), block(2, false, true)},
                     3 * kShortTimeoutMs + kAllDataMs));
        row("silence: sizes", link(silentOn(kBlockSize)),
            seenRead({block(0, true, false), block(1, true, false), block(2, true, false)},
                     3 * kShortTimeoutMs));
        row("silence: data", link(silentOn(kBlockData)),
            seenRead({block(0, true, false), block(1, true, false), block(2, true, false)}, kAllDataMs));

        // The error answer 10 00 FF 00 in place of each of the five answers.
        {
            InstrumentBehaviour b;
            b.identificationAnswer = QByteArray::fromHex("1000ff00");
            row("error answer: identification", link(b, true), notFound);
        }
        row("error answer: count", link(errorOn(kBlocksAmount)), seenRead({}, 0));
        row("error answer: name of block 1", link(errorOn(kBlockName, 1)),
            seenRead({block(0, true, true), block(1, false, true), block(2, true, true)}, kAllDataMs));
        row("error answer: size of block 1", link(errorOn(kBlockSize, 1)),
            seenRead({block(0, true, true), block(1, true, false), block(2, true, true)}, kAllDataMs));
        row("error answer: data of block 1", link(errorOn(kBlockData, 1)),
            seenRead({block(0, true, true), block(1, true, false), block(2, true, true)}, kAllDataMs));

        // Answers in pieces, with surplus bytes, or cut short.
        {
            InstrumentBehaviour b;
            b.chunks = on({});
            b.chunkSize = 1;
            b.chunkGapMs = 1;
            row("split answers, one byte at a time, handshake included", link(b, true),
                seenRead(all, kAllDataMs));
        }
        {
            InstrumentBehaviour b;
            b.surplus = on({kBlocksAmount, kBlockName, kBlockSize, kBlockData});
            b.surplusBytes = 4;
            // Bytes beyond the asked-for length are no part of a name or a block.
            row("surplus bytes after every answer", link(b), seenRead(all, kAllDataMs));
        }
        row("partial answer: count of two bytes", link(partialOn(kBlocksAmount, 2)),
            seenRead(all, kShortTimeoutMs + kAllDataMs));
        {
            MemoryBlock b0 = block(0, false, true), b1 = block(1, false, true), b2 = block(2, false, true);
            b0.name = shownName(0, 10);
            b1.name = shownName(1, 10);
            b2.name = shownName(2, 10);
            row("partial answer: names of ten bytes", link(partialOn(kBlockName, 10)),
                seenRead({b0, b1, b2}, 3 * kShortTimeoutMs + kAllDataMs));
        }
        row("partial answer: sizes of one byte", link(partialOn(kBlockSize, 1)),
            seenRead(all, 3 * kShortTimeoutMs + kAllDataMs));
        // Six bytes are no whole number of values; block 1 has only four to send.
        row("partial answer: data of six bytes", link(partialOn(kBlockData, 6)),
            seenRead({block(0, true, false), block(1, true, true), block(2, true, false)}, kAllDataMs));

        {
            InstrumentBehaviour b;
            b.identificationAnswer = QByteArray::fromHex("2d07fb83");
            row("wrong identification answer", link(b, true), notFound);
        }
        {
            // Tried first, given up silently; the instrument is found all the same.
            Fault f = link(InstrumentBehaviour(), true);
            f.unopenablePortFirst = true;
            row("a port that cannot be opened, then the instrument", f, seenRead(all, kAllDataMs));
        }
        {
            // Right only on the fourth attempt: the deciding one.
            InstrumentBehaviour b;
            b.rightIdentificationAttempt = 4;
            b.earlyIdentificationAnswer = QByteArray::fromHex("1000ff00");
            Seen s = seenRead(all, kAllDataMs);
            row("identification right only on the deciding attempt", link(b, true), s);
        }

        // Unplugged: during the handshake, then at each request of a read.
        // Whatever was read before stays listed; the rest are empty rows.
        {
            Seen s = notFound;
            s.waitLimitMs = kPollMs + kHandshakeMs;
            row("unplugged during the handshake", link(unplugAfter(1), true), s);
            Seen back = seenRead(all, kAllDataMs);
            row("unplugged during the handshake, plugged back in", link(unplugAfter(1), true, true), back);
        }
        const MemoryBlock emptyRow;
        row("unplugged at the count", link(unplugAfter(0)), seenRead({}, kShortTimeoutMs, false));
        row("unplugged at the name of block 1", link(unplugAfter(4)),
            seenRead({block(0, true, true), emptyRow, emptyRow}, kShortTimeoutMs + kAllDataMs, false));
        row("unplugged at the size of block 1", link(unplugAfter(5)),
            seenRead({block(0, true, true), block(1, true, false), emptyRow}, kShortTimeoutMs + kAllDataMs,
                     false));
        row("unplugged at the data of block 1", link(unplugAfter(6)),
            seenRead({block(0, true, true), block(1, true, false), emptyRow}, kAllDataMs, false));
        row("unplugged at the data of block 1, plugged back in", link(unplugAfter(6), false, true),
            seenRead(all, kAllDataMs));
    }

    void settingsRows()
    {
        auto settings = [](const QByteArray &bytes, Place place = Place::Normal) {
            Fault f;
            f.area = Area::Settings;
            f.bytes = bytes;
            f.place = place;
            return f;
        };
        Seen empty; // every field empty, both limits 0, no logo
        Seen good;
        good.companyName = QStringLiteral("ООО Контроль");
        good.limitsMin = 1.5;
        good.limitsMax = 7.5;

        const QByteArray full = json(goodSettings());
        QTest::newRow("settings: truncated")
            << settings(full.left(full.size() / 2)) << empty << Kept::FreshFile;
        {
            QByteArray garbage;
            for (int i = 0; i < 4096; ++i)
                garbage.append(static_cast<char>((i * 7919 + 13) % 256));
            QTest::newRow("settings: binary garbage") << settings(garbage) << empty << Kept::FreshFile;
            QTest::newRow("settings: UTF-16 with a byte-order mark")
                << settings(QByteArray("\xFF\xFE", 2)
                            + QByteArray(reinterpret_cast<const char *>(QStringLiteral("{}").utf16()), 4))
                << empty << Kept::FreshFile;
        }
        {
            QJsonObject o = goodSettings();
            o.insert(QStringLiteral("archive"), QString(12 * 1024 * 1024, QLatin1Char('x')));
            QTest::newRow("settings: very large (12 MB)") << settings(json(o)) << good << Kept::UnknownKey;
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
            QTest::newRow("settings: every key of another type")
                << settings(json(o)) << empty << Kept::FreshFile;
        }
        QTest::newRow("settings: top level an array") << settings("[1, 2, 3]") << empty << Kept::FreshFile;
        QTest::newRow("settings: nested deeper than the parser goes")
            << settings("{\"company_name\": \"ООО Контроль\", \"x\": " + nested(100000) + "}") << empty
            << Kept::FreshFile;
        {
            QByteArray text = full;
            text.chop(text.size() - text.lastIndexOf('}'));
            text += ", \"archive\": " + nested(500) + "}";
            QTest::newRow("settings: nested deeply under an unknown key")
                << settings(text) << good << Kept::UnknownKey;
        }
        {
            QJsonObject o = goodSettings();
            o.insert(QStringLiteral("logo_image"),
                     QString::fromLatin1(pngBytes(40, 40).left(300).toBase64()));
            QTest::newRow("settings: logo a truncated PNG") << settings(json(o)) << good << Kept::FreshFile;
            o.insert(QStringLiteral("logo_image"), QStringLiteral("%%% not base64 %%%"));
            QTest::newRow("settings: logo not Base64") << settings(json(o)) << good << Kept::FreshFile;
            o.insert(QStringLiteral("logo_image"),
                     QString::fromLatin1(pngClaiming(200000, 200000).toBase64()));
            QTest::newRow("settings: logo of absurd dimensions")
                << settings(json(o)) << good << Kept::FreshFile;
            o.insert(QStringLiteral("logo_image"), QString::fromLatin1(pngBytes(40, 40).toBase64()));
            Seen withLogo = good;
            withLogo.logo = true;
            QTest::newRow("settings: sound file with a logo (reference)")
                << settings(json(o)) << withLogo << Kept::FreshFile;
        }
        QTest::newRow("settings: folder cannot be written")
            << settings(full, Place::FolderReadOnly) << good << Kept::PreviousFile;
        QTest::newRow("settings: disk full at exit")
            << settings(full, Place::DiskFull) << good << Kept::PreviousFile;
        QTest::newRow("settings: folder cannot be created")
            << settings(QByteArray(), Place::FolderIsFile) << empty << Kept::BlockingFile;
        QTest::newRow("settings: config.json is a folder")
            << settings(QByteArray(), Place::FileIsFolder) << empty << Kept::BlockingFile;
    }

    void logoRows()
    {
        auto logo = [](const QByteArray &bytes) {
            Fault f;
            f.area = Area::Logo;
            f.bytes = bytes;
            return f;
        };
        Seen refused;
        refused.boxTitle = QStringLiteral("Error");
        refused.boxText = QStringLiteral("Failed to load the image.");
        Seen loaded;
        loaded.logo = true;

        QTest::newRow("logo: text file named .png")
            << logo("this is not a picture\n") << refused << Kept::Nothing;
        QTest::newRow("logo: empty file") << logo(QByteArray("")) << refused << Kept::Nothing;
        QTest::newRow("logo: PNG cut after its header")
            << logo(pngBytes(64, 64).left(40)) << refused << Kept::Nothing;
        QTest::newRow("logo: PNG cut in its image data")
            << logo(pngBytes(64, 64).left(pngBytes(64, 64).size() - 30)) << refused << Kept::Nothing;
        // The JPEG decoder fills the missing lines and reports no failure: the
        // picture is taken as it is, shown to the user, who can remove it.
        QTest::newRow("logo: JPEG cut in its image data")
            << logo(jpegBytes(64, 64).left(jpegBytes(64, 64).size() / 2)) << loaded << Kept::Nothing;
        QTest::newRow("logo: JPEG cut in its header")
            << logo(jpegBytes(64, 64).left(100)) << refused << Kept::Nothing;
        QTest::newRow("logo: PNG claiming 200000 x 200000 pixels")
            << logo(pngClaiming(200000, 200000)) << refused << Kept::Nothing;
        QTest::newRow("logo: PNG claiming 0 x 0 pixels")
            << logo(pngClaiming(0, 0)) << refused << Kept::Nothing;
        QTest::newRow("logo: sound PNG (reference)") << logo(pngBytes(64, 32)) << loaded << Kept::Nothing;
        Seen nothing;
        QTest::newRow("logo: file dialog cancelled") << logo(QByteArray()) << nothing << Kept::Nothing;
    }

    // The instrument misbehaves; the user reads (and, where asked, plugs back in and reads again).
    void runLink(const Fault &fault, const Seen &seen)
    {
        const auto ports = noPorts();
        InstrumentSimulator simulator;
        simulator.setBlocks(threeBlocks());
        if (fault.fromPlugIn)
            simulator.setBehaviour(fault.behaviour);
        QFile unopenable(folder.filePath(QStringLiteral("not a serial port")));
        if (fault.unopenablePortFirst) {
            QVERIFY(unopenable.open(QIODevice::WriteOnly));
            unopenable.close();
            ports->addPath(unopenable.fileName());
        }
        QVERIFY(plugInWatched(simulator, *ports));
        LogCapture log;
        ModalAnswerer modals;
        QElapsedTimer clock;
        clock.start();
        MainWindow window(ports);
        Ui::MainWindow *ui = MainWindowTester::ui(window);
        Port &port = MainWindowTester::port(window);

        if (fault.fromPlugIn) {
            // The handshake's verdict: found, or the port given up ("lame").
            QVERIFY(QTest::qWaitFor(
                [&] { return port.isInstrumentConnected() || log.count(QStringLiteral("lame")) > 0; },
                seen.waitLimitMs + kSlackMs));
            QVERIFY2(clock.elapsed() <= seen.waitLimitMs + kSlackMs,
                     qPrintable(QString::number(clock.elapsed())));
        } else {
            QVERIFY(QTest::qWaitFor([&] { return port.isInstrumentConnected(); },
                                    kPollMs + kHandshakeMs + kSlackMs));
            simulator.setBehaviour(fault.behaviour);
        }

        if (fault.plugBackIn) {
            if (!fault.fromPlugIn)
                ui->button_read_data->click();
            QVERIFY(QTest::qWaitFor([&] { return !port.isInstrumentConnected() && !simulator.isPluggedIn(); },
                                    5000));
            // The monitor must see the port gone before it can see it come back.
            QVERIFY(QTest::qWaitFor(
                [&] { return log.indexStartingWith(QStringLiteral("Serial port removed:")) >= 0; },
                kPollMs + kSlackMs));
            simulator.setBehaviour(InstrumentBehaviour());
            QVERIFY(simulator.plugIn());
            QVERIFY(QTest::qWaitFor([&] { return ui->button_read_data->isEnabled(); },
                                    kPollMs + kHandshakeMs + kSlackMs));
        }

        QCOMPARE(port.isInstrumentConnected(), seen.found);
        QCOMPARE(ui->button_read_data->isEnabled(), seen.found);
        if (seen.found) {
            clock.restart();
            ui->button_read_data->click();
            const qint64 waited = clock.elapsed();
            QVERIFY2(waited <= seen.waitLimitMs + kSlackMs,
                     qPrintable(QStringLiteral("the read took %1 ms").arg(waited)));
            compareBlocks(MainWindowTester::blocks(window), ui->block_names_list, seen.blocks);
            if (QTest::currentTestFailed())
                return;
            // Shown one by one: a block without values gives an empty table and no export.
            for (int row = 0; row < seen.blocks.size(); ++row) {
                QMetaObject::invokeMethod(&window, "on_block_names_list_itemDoubleClicked",
                                          Q_ARG(QListWidgetItem *, ui->block_names_list->item(row)));
                const QVector<float> &values = seen.blocks.at(row).values;
                QCOMPARE(ui->table_block_data->rowCount(), values.size());
                QCOMPARE(ui->button_export_to_PDF->isEnabled(), !values.isEmpty());
                QCOMPARE(ui->button_export_to_excel->isEnabled(), !values.isEmpty());
            }
            QCOMPARE(ui->button_read_data->isEnabled(), seen.readEnabled);
            QVERIFY(ui->block_names_list->isEnabled());
        }
        QVERIFY2(modals.boxes.isEmpty(), "no message box belongs to the link");
    }

    // A settings file in trouble: what the form shows, what the file holds after exit.
    void runSettings(const Fault &fault, const Seen &seen, Kept kept)
    {
        const QString path = settingsFolder + QStringLiteral("/config.json");
        ImmutableGuard guard;
        if (fault.place == Place::FileIsFolder)
            QVERIFY(QDir().mkpath(path));
        if (fault.place == Place::FolderIsFile) {
            QDir().mkpath(QFileInfo(settingsFolder).path());
            QFile blocker(settingsFolder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            blocker.write("not a folder");
        } else if (!fault.bytes.isNull()) {
            QVERIFY(QDir().mkpath(settingsFolder));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(fault.bytes), qint64(fault.bytes.size()));
        }
        const QByteArray before = readAll(fault.place == Place::FolderIsFile ? settingsFolder : path);
        if (fault.place == Place::FolderReadOnly) {
            QVERIFY(setImmutable(settingsFolder, true));
            guard.path = settingsFolder;
        }

        ModalAnswerer modals;
        {
            auto window = std::make_unique<MainWindow>(noPorts());
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
            if (fault.place == Place::DiskFull)
                limit.apply(64);
            window.reset();
        }
        QVERIFY2(modals.boxes.isEmpty(), "settings failures are silent");

        switch (kept) {
        case Kept::Nothing:
            break;
        case Kept::FreshFile:
        case Kept::UnknownKey: {
            const QJsonDocument doc = QJsonDocument::fromJson(readAll(path));
            QVERIFY(doc.isObject());
            const QJsonObject o = doc.object();
            for (const QString &key : allSettingsKeys())
                QVERIFY2(o.contains(key), qPrintable(key));
            QCOMPARE(o.value(QStringLiteral("company_city")).toString(), QStringLiteral("Екатеринбург"));
            QCOMPARE(o.value(QStringLiteral("company_name")).toString(), seen.companyName);
            QCOMPARE(o.value(QStringLiteral("logo_image")).toString().isEmpty(), !seen.logo);
            if (kept == Kept::UnknownKey) {
                const QJsonObject original = QJsonDocument::fromJson(fault.bytes).object();
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
            if (fault.place == Place::FileIsFolder) {
                QVERIFY(QFileInfo(path).isDir());
                QVERIFY(QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
                QCOMPARE(QDir(settingsFolder).entryList(QDir::Files | QDir::Hidden), QStringList());
            } else {
                QVERIFY(QFileInfo(settingsFolder).isFile());
                QCOMPARE(readAll(settingsFolder), before);
            }
            break;
        case Kept::EarlierReport:
            QFAIL("not a settings outcome");
            break;
        }
    }

    void reportRows()
    {
        auto report = [](bool pdf, Target target) {
            Fault f;
            f.area = Area::Report;
            f.pdf = pdf;
            f.target = target;
            return f;
        };
        Seen written;
        written.asked = true;
        written.written = true;
        written.opened = true;
        Seen failed;
        failed.asked = true;
        failed.boxTitle = QStringLiteral("Ошибка");
        failed.boxText =
            QStringLiteral("Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и не "
                           "открыта ли прошлая версия файла.");
        Seen locked = failed;
        locked.asked = false;

        Seen nothing;
        for (const bool pdf : {true, false}) {
            const QByteArray kind = pdf ? "PDF" : "Excel";
            QTest::newRow((kind + " report: file dialog cancelled").constData())
                << report(pdf, Target::Cancelled) << nothing << Kept::Nothing;
            QTest::newRow((kind + " report: path with Cyrillic letters and spaces").constData())
                << report(pdf, Target::CyrillicAndSpaces) << written << Kept::Nothing;
            QTest::newRow((kind + " report: missing folder").constData())
                << report(pdf, Target::MissingFolder) << failed << Kept::Nothing;
            QTest::newRow((kind + " report: read-only folder").constData())
                << report(pdf, Target::ReadOnlyFolder) << failed << Kept::Nothing;
            QTest::newRow((kind + " report: locked file").constData())
                << report(pdf, Target::LockedFile) << locked << Kept::EarlierReport;
            QTest::newRow((kind + " report: disk full over an earlier report").constData())
                << report(pdf, Target::DiskFullOverEarlier) << failed << Kept::EarlierReport;
        }
    }

    // The user exports the shown block to a target that may not take it.
    void runReport(const Fault &fault, const Seen &seen, Kept kept)
    {
        const QString extension = fault.pdf ? QStringLiteral("pdf") : QStringLiteral("xlsx");
        const QString base = folder.filePath(QStringLiteral("reports %1").arg(++reportFolders));
        QVERIFY(QDir().mkpath(base));
        QString path;
        ImmutableGuard guard;
        FileSizeLimit limit;
        const QByteArray earlier("an earlier report, kept until a new one is complete\n");
        switch (fault.target) {
        case Target::CyrillicAndSpaces:
            path = base + QStringLiteral("/Отчёт о контроле №17  партия 3.") + extension;
            break;
        case Target::Cancelled:
            path = base + QStringLiteral("/never written.") + extension;
            break;
        case Target::MissingFolder:
            path = base + QStringLiteral("/нет такой папки/report.") + extension;
            break;
        case Target::ReadOnlyFolder:
        case Target::LockedFile:
        case Target::DiskFullOverEarlier:
            path = base + QStringLiteral("/report.") + extension;
            break;
        }
        if (kept == Kept::EarlierReport) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(earlier);
        }

        MainWindow window(noPorts());
        Ui::MainWindow *ui = MainWindowTester::ui(window);
        MainWindowTester::setBlocks(window, {{QStringLiteral("Т 0001"), {4.81f, 4.79f, 4.83f, 5.2f}}});
        QMetaObject::invokeMethod(&window, "on_block_names_list_itemDoubleClicked",
                                  Q_ARG(QListWidgetItem *, ui->block_names_list->item(0)));
        QPushButton *button = fault.pdf ? ui->button_export_to_PDF : ui->button_export_to_excel;
        QVERIFY(button->isEnabled());

        OpenedFiles opened;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        if (fault.target == Target::ReadOnlyFolder) {
            QVERIFY(setImmutable(base, true));
            guard.path = base;
        } else if (fault.target == Target::LockedFile) {
            QVERIFY(setImmutable(path, true));
            guard.path = path;
        } else if (fault.target == Target::DiskFullOverEarlier) {
            limit.apply(1024);
        }

        ModalAnswerer modals;
        modals.queueFile(fault.target == Target::Cancelled ? QString() : path);
        modals.queueButton(QMessageBox::No); // empty fields: left out
        QElapsedTimer clock;
        clock.start();
        button->click();
        QVERIFY2(clock.elapsed() < kSlackMs * 4, "an export never waits on the disk for long");
        limit.release();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        const QString question = QStringLiteral("Включать незаполненные поля в отчет?");
        const bool asked = !modals.boxes.isEmpty() && modals.boxes.first().text == question;
        QCOMPARE(asked, seen.asked);
        const QVector<MessageBoxSeen> others = modals.boxes.mid(asked ? 1 : 0);
        if (seen.boxTitle.isEmpty()) {
            QVERIFY2(others.isEmpty(), others.isEmpty() ? "" : qPrintable(others.first().text));
        } else {
            QCOMPARE(others.size(), 1);
            QCOMPARE(others.first().title, seen.boxTitle);
            QCOMPARE(others.first().text, seen.boxText);
            QCOMPARE(others.first().icon, QMessageBox::Warning);
        }
        QCOMPARE(opened.paths(), seen.opened ? QStringList{path} : QStringList());

        if (seen.written) {
            bool ok = false;
            if (fault.pdf)
                runTool(QStringLiteral("pdfinfo"), {path}, &ok);
            else
                runTool(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral("-c"),
                         QStringLiteral("import openpyxl, sys; openpyxl.load_workbook(sys.argv[1])"), path},
                        &ok);
            QVERIFY2(ok, "the written report is read back by an independent reader");
        }
        if (kept == Kept::EarlierReport) {
            setImmutable(guard.path, false);
            QCOMPARE(readAll(path), earlier);
        }
        // No half-written file and no leftovers beside the target.
        QStringList expectedFiles;
        if (seen.written || kept == Kept::EarlierReport)
            expectedFiles.append(QFileInfo(path).fileName());
        if (fault.target != Target::MissingFolder)
            QCOMPARE(QDir(base).entryList(QDir::Files | QDir::Hidden), expectedFiles);
        else
            QVERIFY(!QFileInfo::exists(QFileInfo(path).path()));
    }

    static QString runTool(const QString &program, const QStringList &arguments, bool *ok)
    {
        QProcess process;
        process.start(program, arguments);
        *ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
              && process.exitCode() == 0;
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The user picks a logo file that is not a sound picture.
    void runLogo(const Fault &fault, const Seen &seen)
    {
        const QString file = fault.bytes.isNull()
                                 ? QString()
                                 : folder.filePath(QStringLiteral("logo %1.png").arg(++logoFiles));
        if (!file.isEmpty()) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(fault.bytes);
        }
        MainWindow window(noPorts());
        Ui::MainWindow *ui = MainWindowTester::ui(window);
        ModalAnswerer modals;
        modals.queueFile(file);
        QElapsedTimer clock;
        clock.start();
        ui->logo_action->click();
        QVERIFY2(clock.elapsed() < kSlackMs, "the logo is checked before it is decoded");

        if (seen.boxTitle.isEmpty()) {
            QVERIFY(modals.boxes.isEmpty());
        } else {
            QCOMPARE(modals.boxes.size(), 1);
            QCOMPARE(modals.boxes.at(0).title, seen.boxTitle);
            QCOMPARE(modals.boxes.at(0).text, seen.boxText);
            QCOMPARE(modals.boxes.at(0).parent, static_cast<QWidget *>(&window));
        }
        QCOMPARE(!MainWindowTester::logo(window).isNull(), seen.logo);
        QCOMPARE(ui->logo_action->text(),
                 seen.logo ? QStringLiteral("Удалить") : QStringLiteral("Добавить логотип"));
        QCOMPARE(ui->logotype->pixmap(Qt::ReturnByValue).isNull(), !seen.logo);
    }

    QTemporaryDir folder;
    QString settingsFolder;
    int reportFolders = 0;
    int logoFiles = 0;
};

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
