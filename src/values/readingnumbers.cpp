#include "values/readingnumbers.h"

#include <charconv>
#include <cmath>

namespace {

// The longest shortest form of a float: sign, 9 digits, point, exponent.
constexpr int kBufferSize = 32;

QByteArray shortestForm(float reading)
{
    char buffer[kBufferSize];
    const std::to_chars_result written = std::to_chars(buffer, buffer + kBufferSize, reading);
    return QByteArray(buffer, int(written.ptr - buffer));
}

} // namespace

double readingAsDecimal(float reading)
{
    if (!std::isfinite(reading))
        return double(reading);
    const QByteArray form = shortestForm(reading);
    double decimal = 0.0;
    // from_chars, unlike strtod, ignores the locale the program runs in.
    std::from_chars(form.constData(), form.constData() + form.size(), decimal);
    return decimal;
}

QString readingShortestText(float reading, QChar decimalPoint)
{
    QString text = QString::fromLatin1(shortestForm(reading));
    text.replace(QLatin1Char('.'), decimalPoint);
    return text;
}

QString readingDecimalText(float reading, QChar decimalPoint)
{
    if (!std::isfinite(reading))
        return QString();
    return readingShortestText(reading, decimalPoint);
}

QString tabSeparatedReadings(const QVector<float> &readings, const QVector<int> &rows, QChar decimalPoint)
{
    QString text;
    for (const int row : rows) {
        if (row < 0 || row >= readings.size())
            continue;
        text += QString::number(row + 1) + QLatin1Char('\t')
                + readingDecimalText(readings.at(row), decimalPoint) + QLatin1Char('\n');
    }
    return text;
}
