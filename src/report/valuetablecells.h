#pragma once

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
// it copies with values the document does not hold.
class ValueTableCells
{
public:
    static constexpr int kColumns = 3;
    using RowTexts = std::array<QString, kColumns>;

    // Reads the places of the table's value rows (all rows but the header) in
    // a document laid out on its pages.
    ValueTableCells(const QTextDocument &document, QTextTable *table);

    // Page a value row of the document is laid out on (0: the first).
    int pageOfRow(int documentRow) const;
    // Value rows of the document laid out on a page.
    QVector<int> rowsOnPage(int page) const;
    // Paints the texts into the cells of a document row, the painter in the
    // document's coordinates.
    void paintRow(QPainter &painter, int documentRow, const RowTexts &texts) const;

private:
    struct Cell
    {
        QPointF origin; // where the cell's block layout is drawn
        QPointF linePosition;
        qreal lineWidth = 0;
        QTextOption option; // alignment of the cell's block
    };
    struct Row
    {
        int documentRow = 0;
        int page = 0;
        std::array<Cell, kColumns> cells;
    };

    QVector<Row> m_rows;
    QFont m_font;
    QPaintDevice *m_device = nullptr;
};
