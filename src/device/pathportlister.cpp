#include "device/pathportlister.h"

#include "device/systemportlister.h"

#include <QFileInfo>
#include <QMutexLocker>

PathPortLister::PathPortLister(SystemPorts system)
    : system(system)
{}

void PathPortLister::addPath(const QString &path)
{
    QMutexLocker lock(&mutex);
    if (!path.isEmpty() && !paths.contains(path))
        paths.append(path);
}

void PathPortLister::removePath(const QString &path)
{
    QMutexLocker lock(&mutex);
    paths.removeAll(path);
}

void PathPortLister::clear()
{
    QMutexLocker lock(&mutex);
    paths.clear();
}

QStringList PathPortLister::portNames() const
{
    QStringList names;
    {
        QMutexLocker lock(&mutex);
        for (const QString &path : paths) {
            // A path that is gone (a closed pseudo-terminal, a dangling link)
            // is an unplugged device.
            if (QFileInfo::exists(path))
                names.append(path);
        }
    }
    if (system == SystemPorts::Included)
        names += SystemPortLister().portNames();
    return names;
}
