#pragma once

#include <QByteArray>
#include <QString>

// The library names every workbook's application "Microsoft Excel" and has no
// setting for it: the package's app.xml is rewritten. The package is returned
// as it is when the name is empty or the package is laid out otherwise.
QByteArray withApplicationName(const QByteArray &package, const QString &application);
