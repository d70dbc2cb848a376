#include "report/savefailure.h"

#include "report/exportpath.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {
// Longest path, in bytes, that Linux and the desktops' libraries take.
constexpr int kMaxPathBytes = 4095;

bool nameTooLong(const QString &path)
{
    if (QFile::encodeName(path).size() > kMaxPathBytes)
        return true;
    const QStringList parts = QDir::fromNativeSeparators(path).split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (QFile::encodeName(part).size() > kMaxFileNameBytes)
            return true;
    }
    return false;
}

// A probe file, not permission bits: an immutable folder keeps its bits.
bool folderTakesFiles(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.zrv-probe-XXXXXX"));
    return probe.open();
}
} // namespace

SaveFailureCause saveFailureCause(const QString &path)
{
    if (nameTooLong(path))
        return SaveFailureCause::NameTooLong;
    if (isFileLocked(path))
        return SaveFailureCause::FileOpen;
    if (!folderTakesFiles(QFileInfo(path).absolutePath()))
        return SaveFailureCause::FolderNotWritable;
    return SaveFailureCause::Unknown;
}
