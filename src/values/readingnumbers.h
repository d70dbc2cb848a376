#pragma once

#include <QChar>
#include <QString>
#include <QVector>

// Readings as numbers for other programs (a spreadsheet): the shortest decimal
// that reads back as the same single-precision reading, so 9.56 stays 9.56
// and does not become 9.5600004196.

// The reading's shortest round-trip decimal, as a double; NaN and infinities
// as they are.
double readingAsDecimal(float reading);

// The same decimal as text with the given decimal point (no grouping); NaN
// and infinities as "nan", "inf" and "-inf".
QString readingShortestText(float reading, QChar decimalPoint);

// readingShortestText(), but empty for a reading that is not finite, which
// has no number to give.
QString readingDecimalText(float reading, QChar decimalPoint);

// One line per row (rows are 0-based positions in the readings, taken in the
// order given): the measurement number, a tab, the reading. Lines end with a
// newline, as spreadsheets write them.
QString tabSeparatedReadings(const QVector<float> &readings, const QVector<int> &rows, QChar decimalPoint);
