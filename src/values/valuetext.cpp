#include "values/valuetext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

QString cutValueText(float value, int chosenDecimals)
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
    const int decimals = valueDecimals(value, chosenDecimals);
    if (decimals == 0)
        return withoutNegativeZero(QString(whole));
    const QLatin1String fraction = point < 0 ? QLatin1String() : digits.mid(point + 1);
    QString text;
    text.reserve(whole.size() + 1 + decimals);
    text += whole;
    text += QLatin1Char('.');
    text += fraction.left(std::min(decimals, fraction.size()));
    for (int i = fraction.size(); i < decimals; ++i)
        text += QLatin1Char('0');
    return withoutNegativeZero(text);
}

QString withoutNegativeZero(const QString &number)
{
    if (!number.startsWith(QLatin1Char('-')))
        return number;
    for (int i = 1; i < number.size(); ++i) {
        const QChar c = number.at(i);
        if (c != QLatin1Char('0') && c != QLatin1Char('.') && c != QLatin1Char(','))
            return number;
    }
    return number.mid(1);
}

QString pointDecimalText(double value, int decimals)
{
    return withoutNegativeZero(QString::number(value, 'f', decimals));
}
