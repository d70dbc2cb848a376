#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>
#include <QTextOption>
#include <QVector>
#include <array>

class QPainter;
class QPaintDevice;
class QTextDocument;
class QTextTable;

// The value rows of the PDF value table are laid out with empty cells; their
// texts are painted into the places the layout gave the cells, exactly as the
// document would draw them there. So the printer can paint the rows of a page
// it copies with values the document does not hold. Rows whose cells the
// document holds texts of are the document's to draw.
class ValueTableCells
{
public:
    static constexpr int kColumns = 3;
    using RowTexts = std::array<QString, kColumns>;
    using RowColours = std::array<QColor, kColumns>;

    // Reads the places of the table's value rows (all rows but the header) in
    // a document laid out on its pages.
    ValueTableCells(const QTextDocument &document, QTextTable *table);

    // Page a value row of the document is laid out on (0: the first).
    int pageOfRow(int documentRow) const;
    // How far below the top of its page a value row's first line is.
    qreal topOnPage(int documentRow) const;
    // Value rows of the document laid out empty on a page: the rows to paint.
    QVector<int> rowsOnPage(int page) const;
    // Width a line of text has in each column (0 without value rows).
    qreal lineWidth(int column) const;
    // Paints the texts into the cells of a document row, the painter in the
    // document's coordinates. A text wider than its cell wraps as the
    // document wraps it.
    void paintRow(QPainter &painter, int documentRow, const RowTexts &texts, const RowColours &colours) const;

private:
    struct Cell
    {
        QPointF origin; // where the cell's block layout is drawn
        QPointF linePosition;
        qreal lineWidth = 0;
        QTextOption option; // alignment and wrapping of the cell's block
    };
    struct Row
    {
        int documentRow = 0;
        int page = 0;
        bool filled = false; // the document holds the row's texts
        std::array<Cell, kColumns> cells;
    };

    QVector<Row> m_rows;
    QFont m_font;
    QPaintDevice *m_device = nullptr;
    qreal m_pageHeight = 0;
};
