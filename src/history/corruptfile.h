#pragma once

#include <QDateTime>
#include <QString>

// Moves a damaged SQLite file, with its write-ahead log and shared-memory
// files, aside as "<file>.corrupt-<UTC time>" so that a new file can take its
// place and the old one stays for inspection. The new path; empty when the
// file could not be moved.
QString keepCorruptFileAside(const QString &path, const QDateTime &now = QDateTime::currentDateTimeUtc());
