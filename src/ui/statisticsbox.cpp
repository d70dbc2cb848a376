#include "ui/statisticsbox.h"

#include <QDoubleSpinBox>
#include <cmath>
#include <limits>

namespace {

// Wide enough for any reading's statistics at one decimal; the form's range
// would clamp a block holding a million. The spin box tells its special value
// apart only while the step is not lost in its relative precision.
constexpr double kLowestShown = -1e9;
constexpr double kHighestShown = 1e9;
constexpr double kNoNumber = kLowestShown - 0.1; // one display step below the lowest number
const QChar kNoNumberText(0x2014);               // em dash

} // namespace

void prepareStatisticBox(QDoubleSpinBox *box)
{
    if (!box->specialValueText().isEmpty())
        return;
    box->setSpecialValueText(QString(kNoNumberText));
    box->setRange(kNoNumber, kHighestShown);
}

void showStatistic(QDoubleSpinBox *box, double statistic)
{
    prepareStatisticBox(box);
    if (!std::isfinite(statistic)) {
        box->setValue(box->minimum());
        return;
    }
    // A small negative statistic rounds to zero in the box: shown as "0.0", not "-0.0".
    const double scale = std::pow(10.0, box->decimals());
    if (std::round(statistic * scale) == 0.0)
        statistic = 0.0;
    box->setValue(qBound(kLowestShown, statistic, kHighestShown));
}

double shownStatistic(const QDoubleSpinBox *box)
{
    if (!box->specialValueText().isEmpty() && box->value() == box->minimum())
        return std::numeric_limits<double>::quiet_NaN();
    return box->value();
}
