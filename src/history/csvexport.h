#pragma once

#include "values/memoryblock.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

// A spreadsheet's idea of a CSV file: a Russian one separates with ';' and
// writes ',' as the decimal mark, an English one ',' and '.'.
struct CsvFormat
{
    QChar separator = QLatin1Char(',');
    QChar decimalMark = QLatin1Char('.');
};

// The shortest decimal text that reads back as exactly this single-precision
// number ("0.1", "1e-45", "-inf", "nan"), with the given decimal mark.
QString csvNumber(float value, QChar decimalMark);

// One row per reading: block name, reading number (from 1), value; after one
// header row. UTF-8 with a byte-order mark, so that spreadsheets take it as such.
QByteArray blocksToCsv(const QVector<MemoryBlock> &blocks, const CsvFormat &format,
                       const QStringList &header);

// Writes the file atomically; false when it could not be written completely.
bool writeCsvFile(const QString &path, const QByteArray &bytes);
