#pragma once

class QPagedPaintDevice;
class QPainter;
class QString;
class QTextDocument;

// Printing a text document with the pages of QTextDocument::print (2 cm
// margins, the page number at the bottom right), but laid out once, straight
// on the device, where print() lays out a full copy of the document; and page
// by page, so that the caller can add to a page or print a page twice.

// Makes the document lay out on the device's pages. Call it before filling the
// document, so that no layout is done for the screen first.
void prepareDocumentForPrinting(QTextDocument &document, QPagedPaintDevice &device);

// Saves the painter and gives it the coordinates of the document, clipped to
// one of its pages (0: the first). Undo with QPainter::restore().
void beginDocumentPage(QPainter &painter, const QTextDocument &document, int page);

// Draws one page of the document on a painter begun on that page.
void drawDocumentPage(QPainter &painter, const QTextDocument &document, int page);

// Draws the number of the printed page at its bottom right, with the painter
// in the device's own coordinates.
void drawPageNumber(QPainter &painter, const QTextDocument &document, int number);

// Draws a line of small text above the body of a printed page: `shortened`
// followed by `kept` at the body's left edge, `right` at its right edge, with
// the painter in the device's own coordinates. Where the left text would
// meet `right`, `shortened` gives way first (ending in "…"), then `kept`.
void drawPageHeader(QPainter &painter, const QTextDocument &document, const QString &shortened,
                    const QString &kept, const QString &right);
