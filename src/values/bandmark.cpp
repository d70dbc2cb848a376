#include "values/bandmark.h"

#include <cmath>

namespace {
const QString kAboveMark = QStringLiteral("\u25B2");
const QString kBelowMark = QStringLiteral("\u25BC");
} // namespace

BandMark readingMark(float reading, const ToleranceBand &band)
{
    if (!band.on || std::isnan(reading))
        return BandMark::None;
    if (reading < float(activeLower(band)))
        return BandMark::Below;
    if (reading > float(activeUpper(band)))
        return BandMark::Above;
    return BandMark::None;
}

QVector<BandMark> readingMarks(const QVector<float> &readings, const ToleranceBand &band)
{
    QVector<BandMark> marks;
    if (!band.on)
        return marks;
    marks.reserve(readings.size());
    for (const float reading : readings)
        marks.append(readingMark(reading, band));
    return marks;
}

QString bandMarkText(BandMark mark)
{
    switch (mark) {
    case BandMark::Above:
        return kAboveMark;
    case BandMark::Below:
        return kBelowMark;
    case BandMark::None:
        break;
    }
    return QString();
}

QString withBandMark(const QString &number, BandMark mark)
{
    if (mark == BandMark::None)
        return number;
    return number + QLatin1Char(' ') + bandMarkText(mark);
}
