// The plan of the PDF value table's pages around tall rows, checked against a
// model of the document's pagination: rows one line high, tall rows two lines,
// a tall row without room for its second line carried on to the next page.
#include "report/valuetablepages.h"

#include <QSet>
#include <QtTest>

namespace {

constexpr int kFirstBreak = 14;
constexpr int kRowsPerPage = 50;

using Pages = QVector<QVector<int>>;

// The rows each page shows, the rows laid out one after the other; a row
// carried on to the next page is on both.
Pages paginate(const QVector<int> &rows, const QSet<int> &tall)
{
    Pages pages(1);
    int room = kFirstBreak - 1; // lines of the first page below the table's start
    for (const int row : rows) {
        if (room == 0) {
            pages.append(QVector<int>());
            room = kRowsPerPage;
        }
        pages.last().append(row);
        const int lines = tall.contains(row) ? 2 : 1;
        if (lines <= room) {
            room -= lines;
        } else {
            pages.append(QVector<int>{row});
            room = kRowsPerPage - (lines - room);
        }
    }
    return pages;
}

QVector<int> allRows(int tableRows)
{
    QVector<int> rows;
    for (int r = 1; r < tableRows; ++r)
        rows.append(r);
    return rows;
}

// Rows of the whole table the document holds, in its order.
QVector<int> documentRows(const ValueTablePages &plan, int tableRows)
{
    QVector<int> rows;
    for (int d = 1; d < plan.documentRows(tableRows); ++d)
        rows.append(plan.tableRow(d));
    return rows;
}

// What the document asked about shows at the tops of its pages.
QVector<int> pageTops(const ValueTablePages &plan, int tableRows, const QSet<int> &tall)
{
    QVector<int> tops;
    const Pages pages = paginate(documentRows(plan, tableRows), tall);
    for (int p = 1; p < pages.size(); ++p)
        if (pages.at(p).first() != pages.at(p - 1).last())
            tops.append(pages.at(p).first());
    return tops;
}

} // namespace

class TestValueTablePages : public QObject
{
    Q_OBJECT

private slots:
    void pagesAroundTallRows_data()
    {
        QTest::addColumn<int>("tableRows");
        QTest::addColumn<QVector<int>>("tall");
        QTest::addColumn<int>("maxDocumentPages"); // pages of the table the document may hold
        // The second page holds rows 14 to 63, each later page 50 rows.
        QTest::newRow("none") << 1000 << QVector<int>{} << 3;
        QTest::newRow("on the first page") << 1000 << QVector<int>{5} << 4;
        QTest::newRow("on the template page") << 1000 << QVector<int>{30} << 4;
        QTest::newRow("on the first two pages") << 1000 << QVector<int>{5, 40} << 5;
        QTest::newRow("in the middle") << 1000 << QVector<int>{500} << 6;
        QTest::newRow("first on its page") << 1000 << QVector<int>{464} << 6;
        QTest::newRow("last on its page, carried on") << 1000 << QVector<int>{513} << 6;
        QTest::newRow("two on one page") << 1000 << QVector<int>{500, 501} << 6;
        QTest::newRow("on the last page") << 1000 << QVector<int>{990} << 5;
        QTest::newRow("groups far apart") << 3000 << QVector<int>{700, 2400} << 9;
        QVector<int> dense;
        for (int r = 200; r < 420; r += 7)
            dense.append(r);
        QTest::newRow("a dense group") << 3000 << dense << 12;
        QVector<int> scattered;
        for (int r = 100; r < 20000; r += 230)
            scattered.append(r);
        QTest::newRow("more groups than are planned around") << 20000 << scattered << 400;
    }

    void pagesAroundTallRows()
    {
        QFETCH(int, tableRows);
        QFETCH(QVector<int>, tall);
        QFETCH(int, maxDocumentPages);
        const QSet<int> tallSet(tall.cbegin(), tall.cend());
        int asked = 0;
        const ValueTablePages plan = planValueTablePages(tableRows, kFirstBreak, kRowsPerPage, tall,
                                                         [&](const ValueTablePages &probe, int rows) {
                                                             ++asked;
                                                             return pageTops(probe, rows, tallSet);
                                                         });
        QVERIFY(plan.allCopiedPages() > 0);
        QVERIFY(asked <= 25);

        // The template is a page of one-line rows at its top, in the document.
        const Pages document = paginate(documentRows(plan, tableRows), tallSet);
        int templatePage = -1;
        for (int p = 0; p < document.size(); ++p)
            if (document.at(p).first() == plan.firstBreak)
                templatePage = p;
        QVERIFY(templatePage > 0);
        QCOMPARE(document.at(templatePage).size(), kRowsPerPage);
        QVERIFY(document.at(templatePage).first() != document.at(templatePage - 1).last());
        for (int row : document.at(templatePage))
            QVERIFY(!tallSet.contains(row));
        QVERIFY2(document.size() <= maxDocumentPages + 1, qPrintable(QString::number(document.size())));

        // Printed with the copies, the pages are those of the whole table.
        QVector<int> runPages{templatePage + 1};
        for (const ValueTablePages::Run &run : plan.laterRuns) {
            int page = 0;
            while (!document.at(page).contains(plan.tableRow(run.documentRow)))
                ++page;
            QCOMPARE(document.at(page).first(), plan.tableRow(run.documentRow));
            runPages.append(page);
        }
        Pages printed;
        const int printedPages = document.size() + plan.allCopiedPages();
        for (int p = 0; p < printedPages; ++p) {
            const ValueTablePages::PrintedPage page = plan.printedPage(p, runPages);
            if (page.copy == 0) {
                printed.append(document.at(page.documentPage));
                continue;
            }
            QCOMPARE(page.documentPage, templatePage);
            QVector<int> rows;
            for (int row : document.at(templatePage))
                rows.append(plan.copiedRow(page.run, page.copy, row));
            printed.append(rows);
        }
        const Pages whole = paginate(allRows(tableRows), tallSet);
        QCOMPARE(printed.size(), whole.size());
        for (int p = 0; p < whole.size(); ++p)
            QVERIFY2(printed.at(p) == whole.at(p), qPrintable(QString("page %1").arg(p + 1)));
    }
};

QTEST_MAIN(TestValueTablePages)
#include "tst_valuetablepages.moc"
