#include "history/corruptfile.h"

#include <QFile>
#include <QStringList>

QString keepCorruptFileAside(const QString &path, const QDateTime &now)
{
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = QStringLiteral("%1.corrupt-%2").arg(path, stamp);
    // A file already moved aside within the same second is never overwritten.
    for (int n = 2; QFile::exists(aside); ++n)
        aside = QStringLiteral("%1.corrupt-%2-%3").arg(path, stamp).arg(n);
    if (!QFile::rename(path, aside))
        return QString();
    // SQLite's companion files belong to the damaged file, not to a new one.
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(path + suffix))
            QFile::rename(path + suffix, aside + suffix);
    }
    return aside;
}
