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

namespace {
// Each run of white space as one space.
QString singleSpaced(const QString &text)
{
    QString spaced;
    spaced.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            spaced.append(c);
        else if (!spaced.endsWith(kLoneSpace))
            spaced.append(kLoneSpace);
    }
    return spaced;
}
} // namespace

QString proposedReportPath(const QString &folder, const QString &word, const QString &reportNumber,
                           const QTime &time, const QString &extension, int reservedBytes)
{
    const QString tail = kLoneSpace + time.toString(kTimeFormat) + QLatin1Char('.') + extension;
    const QString head = singleSpaced(word + kLoneSpace);
    const int room = kMaxFileNameBytes - reservedBytes - head.toUtf8().size() - tail.toUtf8().size();
    QString number = fitUtf8Bytes(singleSpaced(fileNameSafe(reportNumber)), qMax(0, room));
    // The spaces around the number are the head's and the tail's.
    if (number.startsWith(kLoneSpace))
        number.remove(0, 1);
    if (number.endsWith(kLoneSpace))
        number.chop(1);
    const QString name = number.isEmpty() ? head + tail.mid(1) : head + number + tail;
    return folder + name;
}

QString fitUtf8Bytes(const QString &text, int bytes)
{
    int used = 0;
    int end = 0;
    while (end < text.size()) {
        const bool pair =
            text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate();
        const int units = pair ? 2 : 1;
        const int size = text.midRef(end, units).toUtf8().size();
        if (used + size > bytes)
            break;
        used += size;
        end += units;
    }
    return text.left(end);
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
