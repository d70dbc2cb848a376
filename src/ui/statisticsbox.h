#pragma once

class QDoubleSpinBox;

// The read-only statistics boxes show "—" for a statistic that is not a finite
// number. The box keeps its special value one step below the lowest number it
// shows, so no clamped real statistic can ever read as "—".

// Gives the box its "—" and its range; showStatistic does it when not done.
void prepareStatisticBox(QDoubleSpinBox *box);

// Writes one statistic: rounded to the box's decimals and clamped to ±10⁹
// as a number; "—" when not finite.
void showStatistic(QDoubleSpinBox *box, double statistic);

// The statistic as the box shows it; NaN when it shows "—".
double shownStatistic(const QDoubleSpinBox *box);
