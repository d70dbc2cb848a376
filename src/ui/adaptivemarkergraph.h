#pragma once

#include <qcustomplot.h>

// A graph that keeps its look while points lie a few pixels apart and stays
// fast when tens of thousands of them crowd together:
// - markers are drawn one by one only while neighbouring points are a few
//   pixels apart; closer, a graph with a line leaves them out (the line shows
//   the data) and a graph of marks alone paints the marks of each narrow
//   pixel column as one block of the marker's size, so that no mark is lost;
// - the line is one exact polyline while the markers show, separate segments
//   while points are a pixel or more apart (joins cannot be seen then), and
//   one span per pixel column, from the lowest to the highest point the line
//   passes there, when several points share a pixel column.
// Style, pen and data stay as set; pictures for documents (vector painters)
// are always drawn exactly.
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
    // Average distance in pixels between neighbouring visible points along the
    // key axis; infinite with fewer than two.
    double pointSpacing() const;
    void drawSegments(QCPPainter *painter, const QVector<QPointF> &lines) const;
    void drawColumnSpans(QCPPainter *painter, const QVector<QPointF> &lines) const;
    void drawMergedMarkers(QCPPainter *painter, const QCPScatterStyle &style) const;

    DenseMarkers denseMarkers;
};
