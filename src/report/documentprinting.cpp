#include "documentprinting.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>

// The resolution text layout takes as its own unit; print() reckons its
// margins in it, and the layout scales them from it to the device.
extern Q_GUI_EXPORT int qt_defaultDpiX();
extern Q_GUI_EXPORT int qt_defaultDpiY();

namespace {

constexpr double kMarginInches = 2 / 2.54;
constexpr int kPointsPerInch = 72;
constexpr int kPageNumberGapPoints = 5;

int horizontalMargin()
{
    return int(kMarginInches * qt_defaultDpiX());
}
int verticalMargin()
{
    return int(kMarginInches * qt_defaultDpiY());
}

void printPage(QPainter &painter, const QTextDocument &document, int page, const QSizeF &body,
               const QPointF &pageNumberAt)
{
    painter.save();
    const QRectF view(0, (page - 1) * body.height(), body.width(), body.height());
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    // Black on paper whatever the system palette says.
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);

    painter.setClipping(false);
    painter.setFont(document.defaultFont());
    const QString number = QString::number(page);
    painter.drawText(qRound(pageNumberAt.x() - painter.fontMetrics().horizontalAdvance(number)),
                     qRound(pageNumberAt.y() + view.top()), number);
    painter.restore();
}

} // namespace

void prepareDocumentForPrinting(QTextDocument &document, QPagedPaintDevice &device)
{
    document.documentLayout()->setPaintDevice(&device);
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setLeftMargin(horizontalMargin());
    root.setRightMargin(horizontalMargin());
    root.setTopMargin(verticalMargin());
    root.setBottomMargin(verticalMargin());
    document.rootFrame()->setFrameFormat(root);
    document.setPageSize(QSizeF(device.width(), device.height()));
}

bool printPreparedDocument(const QTextDocument &document, QPagedPaintDevice &device)
{
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    const QSizeF body(device.width(), device.height());
    const qreal scaleX = qreal(device.logicalDpiX()) / qt_defaultDpiX();
    const qreal scaleY = qreal(device.logicalDpiY()) / qt_defaultDpiY();
    const QPointF pageNumberAt(body.width() - horizontalMargin() * scaleX,
                               body.height() - verticalMargin() * scaleY
                                   + QFontMetrics(document.defaultFont(), &device).ascent()
                                   + kPageNumberGapPoints * device.logicalDpiY() / qreal(kPointsPerInch));
    const int pages = document.pageCount();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1 && !device.newPage())
            return false;
        printPage(painter, document, page, body, pageNumberAt);
    }
    return painter.end();
}
