#include "statisticsbox.h"

#include <QDoubleSpinBox>
#include <cmath>
#include <limits>

namespace {

constexpr double kLowestShown = -999999.0;
constexpr double kHighestShown = 999999.0;
constexpr double kNoNumber = -999999.1; // one display step below the lowest number
const QChar kNoNumberText(0x2014);      // em dash

void prepareForNoNumber(QDoubleSpinBox *box)
{
    if (!box->specialValueText().isEmpty())
        return;
    box->setSpecialValueText(QString(kNoNumberText));
    box->setMinimum(kNoNumber);
}

} // namespace

void showStatistic(QDoubleSpinBox *box, double statistic)
{
    prepareForNoNumber(box);
    if (!std::isfinite(statistic)) {
        box->setValue(box->minimum());
        return;
    }
    box->setValue(qBound(kLowestShown, statistic, kHighestShown));
}

double shownStatistic(const QDoubleSpinBox *box)
{
    if (!box->specialValueText().isEmpty() && box->value() == box->minimum())
        return std::numeric_limits<double>::quiet_NaN();
    return box->value();
}
