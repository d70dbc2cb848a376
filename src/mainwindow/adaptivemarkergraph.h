#pragma once

#include <qcustomplot.h>

// A graph that draws its markers one by one only while neighbouring points lie
// a few pixels apart. Closer than that they cannot be told apart, and tens of
// thousands of circles would make every replot slow. Then a graph with a line
// leaves its markers out (the line shows the data), and a graph of marks alone
// merges the nearby marks of each narrow pixel column into one stroke of the
// marker's size, so that no mark is lost. Dense lines are drawn as separate
// segments: their joins cannot be seen then, and stroking one long zigzag as a
// whole costs many times more. Style, pen and data stay as set.
class AdaptiveMarkerGraph : public QCPGraph
{
public:
    enum class DenseMarkers { Omitted, Merged };

    AdaptiveMarkerGraph(QCPAxis *keyAxis, QCPAxis *valueAxis, DenseMarkers dense);

    // True while the visible points lie far enough apart for single markers.
    bool markersApart() const;

protected:
    void getOptimizedScatterData(QVector<QCPGraphData> *scatterData,
                                 QCPGraphDataContainer::const_iterator begin,
                                 QCPGraphDataContainer::const_iterator end) const override;
    void drawScatterPlot(QCPPainter *painter, const QVector<QPointF> &scatters,
                         const QCPScatterStyle &style) const override;
    void drawLinePlot(QCPPainter *painter, const QVector<QPointF> &lines) const override;

private:
    void drawMergedMarkers(QCPPainter *painter, const QCPScatterStyle &style) const;

    DenseMarkers denseMarkers;
};
