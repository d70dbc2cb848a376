#include "report/valuetablepages.h"

#include <algorithm>

namespace {

// Rows after the last of a group of tall rows that a first probe lays out,
// in pages; and the pages each further probe adds when that was too few.
constexpr int kProbePagesAfterTallRows = 3;
constexpr int kProbePagesAdded = 4;
// Tall rows closer than this many pages are planned around as one group.
constexpr int kTallGroupPages = 2;
// Groups of tall rows planned around; the document holds every row after
// them (a block of many scattered wide readings).
constexpr int kMaxTallGroups = 24;

} // namespace

int ValueTablePages::documentRows(int tableRows) const
{
    return tableRows - allCopiedPages() * rowsPerPage;
}

int ValueTablePages::tableRow(int documentRow) const
{
    int row = documentRow < firstBreak + rowsPerPage ? documentRow : documentRow + copiedPages * rowsPerPage;
    for (const Run &run : laterRuns)
        if (documentRow >= run.documentRow)
            row += run.pages * rowsPerPage;
    return row;
}

int ValueTablePages::copiedRow(int copy, int documentRow) const
{
    return documentRow + copy * rowsPerPage;
}

int ValueTablePages::copiedRow(int run, int copy, int documentRow) const
{
    if (run == 0)
        return copiedRow(copy, documentRow);
    const Run &later = laterRuns.at(run - 1);
    const int firstCopied = tableRow(later.documentRow) - later.pages * rowsPerPage;
    return firstCopied + (copy - 1) * rowsPerPage + documentRow - firstBreak;
}

int ValueTablePages::allCopiedPages() const
{
    int pages = copiedPages;
    for (const Run &run : laterRuns)
        pages += run.pages;
    return pages;
}

ValueTablePages::PrintedPage ValueTablePages::printedPage(int printed, int templatePage) const
{
    return printedPage(printed, QVector<int>{templatePage + 1});
}

ValueTablePages::PrintedPage ValueTablePages::printedPage(int printed, const QVector<int> &runPages) const
{
    int copiesBefore = 0;
    for (int run = 0; run < runPages.size() && run <= laterRuns.size(); ++run) {
        const int pages = run == 0 ? copiedPages : laterRuns.at(run - 1).pages;
        if (pages == 0)
            continue;
        const int firstCopy = runPages.at(run) + copiesBefore;
        if (printed < firstCopy)
            break;
        if (printed < firstCopy + pages)
            return {runPages.first() - 1, printed - firstCopy + 1, run};
        copiesBefore += pages;
    }
    return {printed - copiesBefore, 0, 0};
}

ValueTablePages ValueTablePages::copiesBefore(int row) const
{
    if (copiedPages == 0)
        return *this;
    const int templateEnd = firstBreak + rowsPerPage;
    if (row < templateEnd)
        return {};
    ValueTablePages pages = *this;
    pages.copiedPages = std::min(copiedPages, (row - templateEnd) / rowsPerPage);
    return pages;
}

ValueTablePages planValueTablePages(int tableRows, int firstBreak, int rowsPerPage)
{
    ValueTablePages pages;
    if (firstBreak <= 0 || rowsPerPage <= 0 || tableRows <= firstBreak)
        return pages;
    pages.firstBreak = firstBreak;
    pages.rowsPerPage = rowsPerPage;
    const int laterPages = (tableRows - firstBreak + rowsPerPage - 1) / rowsPerPage;
    // The second page is the template; the last stays in the document, as
    // what follows the table is laid out from where it ends.
    pages.copiedPages = std::max(0, laterPages - 2);
    return pages;
}

namespace {

// Plans the runs of copies around the tall rows, one group of them at a time.
class TallRowPlanner
{
public:
    TallRowPlanner(int tableRows, int firstBreak, int rowsPerPage, const QVector<int> &tallRows,
                   const PageTopRows &pageTopRows)
        : m_tableRows(tableRows)
        , m_firstBreak(firstBreak)
        , m_rowsPerPage(rowsPerPage)
        , m_tall(tallRows)
        , m_pageTopRows(pageTopRows)
    {
        m_plan.rowsPerPage = rowsPerPage;
    }

    ValueTablePages plan()
    {
        // The document holds every row before start, which is 0 or the first
        // row of a page at its top.
        int start = 0;
        for (int group = 0; group <= kMaxTallGroups; ++group) {
            int top = pageTopAfterTallRows(start);
            if (top < 0)
                return m_plan; // the document holds every row from start
            if (m_plan.firstBreak == 0) {
                // The first page of one-line rows at its top is the template.
                m_plan.firstBreak = top;
                top += m_rowsPerPage;
            }
            const int nextTall = firstTallFrom(top);
            // Pages up to the one with the next tall row; else all but the
            // last, after which the report goes on.
            const int pages = std::max(0, nextTall < m_tableRows
                                              ? (nextTall - top) / m_rowsPerPage
                                              : (m_tableRows - top + m_rowsPerPage - 1) / m_rowsPerPage - 1);
            addRun(top, pages);
            start = top + pages * m_rowsPerPage;
            if (nextTall >= m_tableRows)
                return m_plan;
        }
        return m_plan;
    }

private:
    int firstTallFrom(int row) const
    {
        const auto it = std::lower_bound(m_tall.cbegin(), m_tall.cend(), row);
        return it == m_tall.cend() ? m_tableRows : *it;
    }

    bool pageIsPlain(int top) const { return firstTallFrom(top) >= top + m_rowsPerPage; }

    // The first row from start on that begins a page of one-line rows at its
    // top, after the tall rows of the page start is on; -1: none.
    int pageTopAfterTallRows(int start) const
    {
        const int tallRow = firstTallFrom(start);
        if (start == 0 && tallRow >= m_firstBreak + m_rowsPerPage)
            return m_firstBreak;
        if (start > 0 && tallRow >= start + m_rowsPerPage)
            return start;
        int groupEnd = tallRow;
        for (auto it = std::upper_bound(m_tall.cbegin(), m_tall.cend(), tallRow);
             it != m_tall.cend() && *it < groupEnd + kTallGroupPages * m_rowsPerPage; ++it)
            groupEnd = *it;
        int probeEnd = std::min(m_tableRows, groupEnd + 1 + kProbePagesAfterTallRows * m_rowsPerPage);
        for (;;) {
            for (const int top : m_pageTopRows(m_plan, probeEnd))
                if (top > tallRow && pageIsPlain(top))
                    return top;
            if (probeEnd >= m_tableRows)
                return -1;
            probeEnd = std::min(m_tableRows, probeEnd + kProbePagesAdded * m_rowsPerPage);
        }
    }

    void addRun(int top, int pages)
    {
        if (pages == 0)
            return;
        const bool afterTemplate = top == m_plan.firstBreak + m_rowsPerPage;
        if (afterTemplate)
            m_plan.copiedPages = pages;
        else
            m_plan.laterRuns.append({top - m_copiedRows, pages});
        m_copiedRows += pages * m_rowsPerPage;
    }

    const int m_tableRows;
    const int m_firstBreak;
    const int m_rowsPerPage;
    const QVector<int> &m_tall;
    const PageTopRows &m_pageTopRows;
    ValueTablePages m_plan;
    int m_copiedRows = 0;
};

} // namespace

ValueTablePages planValueTablePages(int tableRows, int firstBreak, int rowsPerPage,
                                    const QVector<int> &tallRows, const PageTopRows &pageTopRows)
{
    const ValueTablePages plain = planValueTablePages(tableRows, firstBreak, rowsPerPage);
    if (tallRows.isEmpty() || plain.copiedPages == 0)
        return plain;
    return TallRowPlanner(tableRows, firstBreak, rowsPerPage, tallRows, pageTopRows).plan();
}
