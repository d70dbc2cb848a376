#include "report/exportpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kLoneSpace = QStringLiteral(" ");
const QString kTimeFormat = QStringLiteral("hh_mm_ss");
const QString kForbiddenInFileNames = QStringLiteral("/\\:*?\"<>|");
const QChar kFileNameStandIn = QLatin1Char('_');
// Most file systems cap a name (not the path) at 255 bytes.
constexpr int kFileNameBytes = 255;

// The text cut at whole characters (a surrogate pair stays together) so that
// it takes at most the given number of UTF-8 bytes.
QString cutToUtf8Bytes(const QString &text, int bytes)
{
    int used = 0;
    int end = 0;
    while (end < text.size()) {
        const int length = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int size = text.mid(end, length).toUtf8().size();
        if (used + size > bytes)
            break;
        used += size;
        end += length;
    }
    return text.left(end);
}
} // namespace

QString defaultReportFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder + QLatin1Char('/');
#endif
}

QString proposedReportPath(const QString &folder, const QString &word, const QString &reportNumber,
                           const QTime &time, const QString &extension)
{
    const QString tail = time.toString(kTimeFormat) + QLatin1Char('.') + extension;
    if (reportNumber == kLoneSpace)
        return folder + word + kLoneSpace + tail;
    // Only the number gives way, so the name keeps its word, time and extension.
    const int room = kFileNameBytes - (word + kLoneSpace + kLoneSpace + tail).toUtf8().size();
    const QString number = cutToUtf8Bytes(fileNameSafe(reportNumber), qMax(0, room));
    return folder + word + kLoneSpace + number + kLoneSpace + tail;
}

QString fileNameSafe(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe) {
        if (c.category() == QChar::Other_Control || kForbiddenInFileNames.contains(c))
            c = kFileNameStandIn;
    }
    return safe;
}

bool isFileLocked(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return true;
    file.close();
    return false;
}

SaveFailureCause saveFailureCause(const QString &path)
{
    const QFileInfo file(path);
    if (file.fileName().toUtf8().size() > kFileNameBytes)
        return SaveFailureCause::NameTooLong;
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return SaveFailureCause::FolderNotWritable;
    if (isFileLocked(path))
        return SaveFailureCause::FileOpen;
    return SaveFailureCause::Unknown;
}
