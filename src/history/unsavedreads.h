#pragma once

#include "history/readrecord.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Reads that could not be stored by the time the program ends are kept in a
// file of their own beside the history ("history-unsaved-<UTC time>.sqlite")
// and taken into the history by the next run.

// Writes the reads into a new such file; false when that fails too.
bool keepUnsavedReads(const QString &folder, const QVector<ReadRecord> &reads);

// The reads of every such file in `folder`, oldest file first; `files` gets
// the files read, to be removed once their reads are stored.
QVector<ReadRecord> unsavedReads(const QString &folder, QStringList *files);

// Removes the files and their SQLite companions.
void removeUnsavedFiles(const QStringList &files);
