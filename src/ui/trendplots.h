#pragma once

#include <QObject>
#include <QString>
#include <QVector>

class QCustomPlot;
struct TrendAnalysis;

// Draws a trend's X̄ chart and its R (or S) chart: the subgroups at the
// numbers of their reads, the limits of each subgroup as steps, a line after
// the subgroups the limits come from, and the points that break a rule
// marked; the limits' names and last values are the
// right axis's ticks. Graphs and the marker carry object names
// ("trend_points", "trend_centre", "trend_upper", "trend_lower",
// "trend_breaks", "trend_frozen_marker") for whoever inspects the plots.
class TrendPlots : public QObject
{
    Q_OBJECT

public:
    TrendPlots(QCustomPlot *means, QCustomPlot *spread, QObject *parent = nullptr);

    // Draws and replots both charts.
    void draw(const TrendAnalysis &trend);
    void clear();

private:
    // One chart's numbers, one entry per subgroup drawn.
    struct Lines
    {
        QVector<double> x, value, centre, lower, upper;
        QVector<int> breaks; // indices into the entries
        QString valueName;
    };

    void drawChart(QCustomPlot *plot, const Lines &lines, double frozenAfter, int decimals);

    QCustomPlot *means;
    QCustomPlot *spread;
};
