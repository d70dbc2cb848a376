#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// A written PDF, read back by poppler's tools.

enum class PdfText {
    Layout,      // lines as they stand on the page (table rows stay one line)
    ReadingOrder // the text as poppler reads it, without the page's layout
};

constexpr int kAllPages = 0;

// The text of the whole file, or of one page (counted from 1); empty when
// pdftotext failed.
QString pdfText(const QString &path, int page = kAllPages, PdfText mode = PdfText::Layout);

struct PdfImage
{
    int width = 0;
    int height = 0;
};

// The images the file holds (pdfimages -list), alpha masks left out.
QVector<PdfImage> pdfImages(const QString &path);

// How many of them have this size.
int pdfImageCount(const QString &path, int width, int height);

// Gray pages rendered by poppler at `dpi`, one byte array per page; the
// images are left in `folder`.
QVector<QByteArray> renderedPages(const QString &path, const QString &folder, int dpi);

// True when the text stands in the words whole, or cut in two where a cell
// wraps it: its start, then its rest among the next words (the cell beside it
// comes between).
bool wrappedIn(const QStringList &words, const QString &text);
