#include "report/documentprinting.h"

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
constexpr int kPageHeaderPointSize = 8;
constexpr int kPageHeaderGapPoints = 12; // between the header's baseline and the body

int horizontalMargin()
{
    return int(kMarginInches * qt_defaultDpiX());
}

int verticalMargin()
{
    return int(kMarginInches * qt_defaultDpiY());
}

QRectF pageRect(const QTextDocument &document, int page)
{
    const QSizeF size = document.pageSize();
    return QRectF(QPointF(0, page * size.height()), size);
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

void beginDocumentPage(QPainter &painter, const QTextDocument &document, int page)
{
    const QRectF view = pageRect(document, page);
    painter.save();
    painter.translate(0, -view.top());
    painter.setClipRect(view);
}

void drawDocumentPage(QPainter &painter, const QTextDocument &document, int page)
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = pageRect(document, page);
    // Black on paper whatever the system palette says.
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
}

void drawPageNumber(QPainter &painter, const QTextDocument &document, int number)
{
    QPaintDevice *device = painter.device();
    const QSizeF body = document.pageSize();
    const qreal scaleX = qreal(device->logicalDpiX()) / qt_defaultDpiX();
    const qreal scaleY = qreal(device->logicalDpiY()) / qt_defaultDpiY();
    const qreal right = body.width() - horizontalMargin() * scaleX;
    const qreal baseline = body.height() - verticalMargin() * scaleY
                           + QFontMetrics(document.defaultFont(), device).ascent()
                           + kPageNumberGapPoints * device->logicalDpiY() / qreal(kPointsPerInch);
    painter.save();
    painter.setClipping(false);
    painter.setFont(document.defaultFont());
    const QString text = QString::number(number);
    painter.drawText(qRound(right - painter.fontMetrics().horizontalAdvance(text)), qRound(baseline), text);
    painter.restore();
}

void drawPageHeader(QPainter &painter, const QTextDocument &document, const QString &shortened,
                    const QString &kept, const QString &right)
{
    QPaintDevice *device = painter.device();
    const qreal scaleX = qreal(device->logicalDpiX()) / qt_defaultDpiX();
    const qreal scaleY = qreal(device->logicalDpiY()) / qt_defaultDpiY();
    const qreal leftEdge = horizontalMargin() * scaleX;
    const qreal rightEdge = document.pageSize().width() - horizontalMargin() * scaleX;
    const qreal baseline =
        verticalMargin() * scaleY - kPageHeaderGapPoints * device->logicalDpiY() / qreal(kPointsPerInch);
    QFont font = document.defaultFont();
    font.setPointSize(kPageHeaderPointSize);
    painter.save();
    painter.setClipping(false);
    painter.setPen(Qt::black);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.fontMetrics());
    const qreal rightWidth = metrics.horizontalAdvance(right);
    const qreal space = metrics.horizontalAdvance(QLatin1Char(' '));
    const qreal room = rightEdge - leftEdge - rightWidth - 2 * space;
    QString shown = shortened + kept;
    if (metrics.horizontalAdvance(shown) > room) {
        const qreal keptWidth = metrics.horizontalAdvance(kept);
        const QString start = metrics.elidedText(shortened, Qt::ElideRight, room - keptWidth);
        // Nothing of the shortened part fits: the kept part is cut instead.
        shown = start.isEmpty() && !shortened.isEmpty() ? metrics.elidedText(kept, Qt::ElideRight, room)
                                                        : start + kept;
    }
    painter.drawText(QPointF(leftEdge, baseline), shown);
    painter.drawText(QPointF(rightEdge - rightWidth, baseline), right);
    painter.restore();
}
