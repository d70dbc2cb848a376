#pragma once

#include <QDateTime>
#include <QString>

// Moves a damaged SQLite file, with its write-ahead log and shared-memory
// files, aside as "<file>.corrupt-<UTC time>" so that a new file can take its
// place and the old one stays for inspection. The new path; empty when the
// file could not be moved.
QString keepCorruptFileAside(const QString &path, const QDateTime &now = QDateTime::currentDateTimeUtc());

#include "history/readrecord.h"

#include <QVector>

// The reads that can still be read from a damaged history file, oldest
// first: read straight from the tables, past the indexes, each read whole or
// not at all. Uids are kept, so a read is never stored twice.
QVector<ReadRecord> salvageReads(const QString &path);
