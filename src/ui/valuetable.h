#pragma once

#include <QVector>

class QTableWidget;

// The tolerance band the table's cells are marked against.
struct TableBand
{
    bool on = false;
    double lower = 0.0;
    double upper = 0.0;
};

// Fills the table with one centred cell per value (cut text, see
// cutValueText), marked against the band as markValueTable does; the vertical
// header numbers the measurements from 1. Cells of an earlier fill are reused,
// so afterwards the table holds exactly what a fresh fill would.
void fillValueTable(QTableWidget *table, const QVector<float> &values, const TableBand &band);

// Colours red the cells whose shown text lies outside the band while the band
// is on, and takes every red mark away while it is off.
void markValueTable(QTableWidget *table, const TableBand &band);
