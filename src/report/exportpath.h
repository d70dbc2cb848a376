#pragma once

#include <QString>
#include <QTime>

// Folder the save dialog proposes: the root of drive C: on Windows, the user's
// documents folder elsewhere (the home folder when there is none). Ends with a
// separator.
QString defaultReportFolder();

// Longest file name, in UTF-8 bytes, the desktops' file systems take.
constexpr int kMaxFileNameBytes = 255;

// "<folder><word> <number> <hh_mm_ss>.<extension>". Characters a file name
// cannot hold are replaced in the number (see fileNameSafe), so that "17/2024"
// names a file and not a folder; runs of white space become one space (no
// number gives "Отчет 14_05_09.pdf"). The number is cut on a character
// boundary so that the name, with `reservedBytes` more that the caller adds
// before the extension, fits kMaxFileNameBytes.
QString proposedReportPath(const QString &folder, const QString &word, const QString &reportNumber,
                           const QTime &time, const QString &extension, int reservedBytes = 0);

// The longest start of `text` whose UTF-8 form fits `bytes`; never splits a
// character (a surrogate pair stays whole).
QString fitUtf8Bytes(const QString &text, int bytes);

// The text with each character that cannot stand in a file name on any of
// the desktops (/ \ : * ? " < > | and control characters) replaced by "_".
QString fileNameSafe(const QString &text);

// True when a file exists at the path and cannot be opened for reading and
// writing (held open without sharing by another program, or read-only).
bool isFileLocked(const QString &path);
