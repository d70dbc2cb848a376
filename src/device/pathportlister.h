#pragma once

#include "device/portlister.h"

#include <QMutex>
#include <QString>

// Given device paths (pseudo-terminals of a simulated instrument and the
// like), each listed only while it exists in the file system, optionally
// followed by the system's serial ports.
class PathPortLister : public PortLister
{
public:
    enum class SystemPorts { Excluded, Included };

    explicit PathPortLister(SystemPorts system = SystemPorts::Excluded);

    void addPath(const QString &path);
    void removePath(const QString &path);
    void clear();

    QStringList portNames() const override;

private:
    const SystemPorts system;
    // Paths may be given from the thread of a simulated instrument.
    mutable QMutex mutex;
    QStringList paths;
};
