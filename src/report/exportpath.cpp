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

QString proposedReportPath(const QString &folder, const QString &word, const QString &reportNumber,
                           const QTime &time, const QString &extension)
{
    const QString numberPart =
        reportNumber == kLoneSpace ? kLoneSpace : kLoneSpace + fileNameSafe(reportNumber) + kLoneSpace;
    return folder + word + numberPart + time.toString(kTimeFormat) + QLatin1Char('.') + extension;
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
