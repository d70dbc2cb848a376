#include "values/valuetext.h"

#include "values/decimals.h"

#include <charconv>
#include <cmath>

QString cutValueText(float value)
{
    if (!std::isfinite(value))
        return QString::number(double(value));

    // Cutting the decimal digits the instrument's number stands for, not the
    // binary value widened to double: the float nearest 0.7 lies just below it
    // and would be cut to 0.6.
    constexpr int kBufferSize = 64; // the longest float in fixed notation has 39 integer digits
    char buffer[kBufferSize];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + kBufferSize, value, std::chars_format::fixed);
    const QLatin1String digits(buffer, int(written.ptr - buffer));

    const int point = digits.indexOf(QLatin1Char('.'));
    const QLatin1String whole = point < 0 ? digits : digits.left(point);
    if (decimalsForValue(value) == 0)
        return QString(whole);
    const QChar firstDecimal = point < 0 ? QLatin1Char('0') : QChar(digits.at(point + 1));
    return QString(whole) + QLatin1Char('.') + firstDecimal;
}
