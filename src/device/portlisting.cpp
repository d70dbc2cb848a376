#include "device/portlisting.h"

#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSerialPortInfo>

namespace {

struct PortListingState
{
    QMutex mutex;
    QStringList virtualPaths;
    bool systemPortsListed = true;
};

PortListingState &state()
{
    static PortListingState instance;
    return instance;
}

} // namespace

QStringList availablePortNames()
{
    QStringList names;
    bool withSystemPorts = true;
    {
        QMutexLocker lock(&state().mutex);
        withSystemPorts = state().systemPortsListed;
        for (const QString &path : qAsConst(state().virtualPaths)) {
            // A path that is gone (a closed pseudo-terminal, a dangling link)
            // is an unplugged device.
            if (QFileInfo::exists(path))
                names.append(path);
        }
    }
    if (withSystemPorts) {
        const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo &info : ports)
            names.append(info.portName());
    }
    return names;
}

void addVirtualPortPath(const QString &path)
{
    QMutexLocker lock(&state().mutex);
    if (!path.isEmpty() && !state().virtualPaths.contains(path))
        state().virtualPaths.append(path);
}

void removeVirtualPortPath(const QString &path)
{
    QMutexLocker lock(&state().mutex);
    state().virtualPaths.removeAll(path);
}

void clearVirtualPortPaths()
{
    QMutexLocker lock(&state().mutex);
    state().virtualPaths.clear();
}

void setSystemPortsListed(bool listed)
{
    QMutexLocker lock(&state().mutex);
    state().systemPortsListed = listed;
}
