#pragma once

#include <qcustomplot.h>

// Bars that are drawn as bars while each is a few pixels wide. Narrower than
// that, single bars cannot be told apart and drawing tens of thousands of them
// makes every replot slow: then each pixel column gets one line in the fill
// colour from the base to the farthest value of the bars in that column, which
// is what the bars would cover. Pen, brush and data stay as set.
class AdaptiveBars : public QCPBars
{
public:
    AdaptiveBars(QCPAxis *keyAxis, QCPAxis *valueAxis);

    // True while one bar is wide enough on screen to be drawn as a bar.
    bool barsApart() const;

protected:
    void draw(QCPPainter *painter) override;

private:
    void drawColumns(QCPPainter *painter) const;
};
