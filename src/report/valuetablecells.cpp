#include "report/valuetablecells.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

ValueTableCells::ValueTableCells(const QTextDocument &document, QTextTable *table)
    : m_font(document.defaultFont())
    , m_device(document.documentLayout()->paintDevice())
    , m_pageHeight(document.pageSize().height())
{
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    m_rows.reserve(table->rows());
    for (int r = 1; r < table->rows(); ++r) {
        Row row;
        row.documentRow = r;
        for (int c = 0; c < kColumns; ++c) {
            const QTextBlock block = table->cellAt(r, c).firstCursorPosition().block();
            const QTextLayout *blockLayout = block.layout();
            const QTextLine line = blockLayout->lineAt(0);
            Cell &cell = row.cells[size_t(c)];
            cell.origin = layout->blockBoundingRect(block).topLeft();
            cell.linePosition = line.position();
            cell.lineWidth = line.width();
            cell.option = blockLayout->textOption();
            row.filled = row.filled || !block.text().isEmpty();
        }
        row.page = int(row.cells[0].origin.y() / m_pageHeight);
        m_rows.append(row);
    }
}

int ValueTableCells::pageOfRow(int documentRow) const
{
    return m_rows.at(documentRow - 1).page;
}

qreal ValueTableCells::topOnPage(int documentRow) const
{
    const Row &row = m_rows.at(documentRow - 1);
    return row.cells[0].origin.y() - row.page * m_pageHeight;
}

QVector<int> ValueTableCells::rowsOnPage(int page) const
{
    QVector<int> rows;
    for (const Row &row : m_rows)
        if (row.page == page && !row.filled)
            rows.append(row.documentRow);
    return rows;
}

qreal ValueTableCells::lineWidth(int column) const
{
    return m_rows.isEmpty() ? 0 : m_rows.first().cells[size_t(column)].lineWidth;
}

void ValueTableCells::paintRow(QPainter &painter, int documentRow, const RowTexts &texts,
                               const RowColours &colours) const
{
    const Row &row = m_rows.at(documentRow - 1);
    for (int c = 0; c < kColumns; ++c) {
        const Cell &cell = row.cells[size_t(c)];
        QTextLayout text(texts[size_t(c)], m_font, m_device);
        text.setTextOption(cell.option);
        text.beginLayout();
        qreal y = cell.linePosition.y();
        for (QTextLine line = text.createLine(); line.isValid(); line = text.createLine()) {
            line.setLineWidth(cell.lineWidth);
            line.setPosition(QPointF(cell.linePosition.x(), y));
            y += line.height();
        }
        text.endLayout();
        painter.setPen(colours[size_t(c)]);
        text.draw(&painter, cell.origin);
    }
}
