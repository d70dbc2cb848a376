#pragma once

#include <QString>
#include <QStringList>

// The names of the serial ports the monitor watches: paths registered as
// virtual ports (pseudo-terminals of a simulated instrument and the like),
// each listed only while it exists in the file system, followed by the
// system's serial ports. The product registers no virtual paths.
QStringList availablePortNames();

void addVirtualPortPath(const QString &path);
void removeVirtualPortPath(const QString &path);
void clearVirtualPortPaths();

// Tests switch the system's own ports off so that a real, silent port of the
// machine cannot take part in them; the product always lists them.
void setSystemPortsListed(bool listed);
