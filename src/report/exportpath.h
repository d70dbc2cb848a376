#pragma once

#include <QString>
#include <QTime>

// Folder the save dialog proposes: the root of drive C: on Windows, the user's
// documents folder elsewhere (the home folder when there is none). Ends with a
// separator.
QString defaultReportFolder();

// "<folder><word><number part><hh_mm_ss>.<extension>"; the number part is the
// report number between two spaces, or a single space when the number is one
// space. Characters a file name cannot hold are replaced in the number (see
// fileNameSafe), so that "17/2024" names a file and not a folder. A long
// number is cut at a whole character so that the file name fits 255 UTF-8 bytes.
QString proposedReportPath(const QString &folder, const QString &word, const QString &reportNumber,
                           const QTime &time, const QString &extension);

// The text with each character that cannot stand in a file name on any of
// the desktops (/ \ : * ? " < > | and control characters) replaced by "_".
QString fileNameSafe(const QString &text);

// True when a file exists at the path and cannot be opened for reading and
// writing (held open without sharing by another program, or read-only).
bool isFileLocked(const QString &path);

// Why a report could not be written to the path, as far as it can be told
// after the fact.
enum class SaveFailureCause { NameTooLong, FolderNotWritable, FileOpen, Unknown };
SaveFailureCause saveFailureCause(const QString &path);
