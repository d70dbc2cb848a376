#pragma once

#include <QString>
#include <QTime>

// Folder the save dialog proposes: the root of drive C: on Windows, the user's
// documents folder elsewhere (the home folder when there is none). Ends with a
// separator.
QString defaultReportFolder();

// "<folder><word><number part><hh_mm_ss>.<extension>"; the number part is the
// report number between two spaces, or a single space when the number is one space.
QString proposedReportPath(const QString &folder, const QString &word, const QString &reportNumber,
                           const QTime &time, const QString &extension);

// True when a file exists at the path and cannot be opened for reading and
// writing (held open without sharing by another program, or read-only).
bool isFileLocked(const QString &path);
