#pragma once

#include "values/toleranceband.h"

#include <QString>
#include <QVector>

// The side of the band a reading lies out on, printed after its number so
// that a black-and-white copy still tells it apart from the readings inside.
enum class BandMark : quint8 { None, Above, Below };

// Below the active lower limit, above the active upper one, or None: inside,
// with the band off, or not a number (which has no side). The limits are
// compared in the reading's single precision, as readingOutOfBand does. An
// inverted band has every reading out: below its lower limit, else above.
BandMark readingMark(float reading, const ToleranceBand &band);

// readingMark for each reading, in order; empty while the band is off.
QVector<BandMark> readingMarks(const QVector<float> &readings, const ToleranceBand &band);

// "▲" above Max, "▼" below Min, empty for None.
QString bandMarkText(BandMark mark);

// The number with its mark after it, a space between ("10.04 ▲"); the
// number alone for None.
QString withBandMark(const QString &number, BandMark mark);
