#pragma once

#include "values/decimals.h"
#include "values/toleranceband.h"

#include <QVector>

class QTableWidget;

// Fills the table with one centred cell per value (cut text at the chosen
// decimals, see cutValueText), marked against the band as markValueTable
// does; the vertical header numbers the measurements from 1. Cells of an
// earlier fill are reused, so afterwards the table holds exactly what a fresh
// fill would.
void fillValueTable(QTableWidget *table, const QVector<float> &values, const ToleranceBand &band,
                    int chosenDecimals = kAutoDecimals);

// Colours red the cells whose reading lies outside the band while the band is
// on (the reading itself, as the plots and the reports judge it, not its cut
// text: 4.93 against 4.7-4.9 is red although it shows as 4.9), and gives each
// the side it is out on (see ValueMarkDelegate); takes every mark away while
// the band is off. values are the readings the table was filled with.
void markValueTable(QTableWidget *table, const QVector<float> &values, const ToleranceBand &band);
