#include "pdfreader.h"

#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace {

// pdfimages -list: two header lines, then one line per image:
// page num type width height ...
constexpr int kListHeaderLines = 2;
constexpr int kTypeColumn = 2;
constexpr int kWidthColumn = 3;
constexpr int kHeightColumn = 4;

} // namespace

QString pdfText(const QString &path, int page, PdfText mode)
{
    QStringList arguments;
    if (page != kAllPages)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    if (mode == PdfText::Layout)
        arguments << QStringLiteral("-layout");
    arguments << QStringLiteral("-enc") << QStringLiteral("UTF-8") << path << QStringLiteral("-");
    return QString::fromUtf8(runReader(QStringLiteral("pdftotext"), arguments));
}

QVector<PdfImage> pdfImages(const QString &path)
{
    QVector<PdfImage> images;
    const QString list =
        QString::fromUtf8(runReader(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString &line : list.split(QLatin1Char('\n')).mid(kListHeaderLines)) {
        const QStringList cells = line.split(space, Qt::SkipEmptyParts);
        if (cells.size() > kHeightColumn && cells.at(kTypeColumn) == QLatin1String("image"))
            images.append({cells.at(kWidthColumn).toInt(), cells.at(kHeightColumn).toInt()});
    }
    return images;
}

int pdfImageCount(const QString &path, int width, int height)
{
    const QVector<PdfImage> images = pdfImages(path);
    return int(std::count_if(images.begin(), images.end(), [width, height](const PdfImage &image) {
        return image.width == width && image.height == height;
    }));
}

QVector<QByteArray> renderedPages(const QString &path, const QString &folder, int dpi)
{
    const QString prefix = QDir(folder).filePath(QFileInfo(path).baseName());
    runReader(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-gray", path, prefix});
    QVector<QByteArray> pages;
    QDir dir(folder);
    for (const QString &name :
         dir.entryList({QFileInfo(path).baseName() + "-*.pgm"}, QDir::Files, QDir::Name)) {
        QFile page(dir.filePath(name));
        page.open(QIODevice::ReadOnly);
        pages.append(page.readAll());
    }
    return pages;
}

bool wrappedIn(const QStringList &words, const QString &text)
{
    constexpr int kNextWords = 4;
    for (int i = 0; i < words.size(); ++i) {
        if (words.at(i) == text)
            return true;
        if (words.at(i).isEmpty() || !text.startsWith(words.at(i)))
            continue;
        const QString rest = text.mid(words.at(i).size());
        for (int j = i + 1; j < qMin(words.size(), i + 1 + kNextWords); ++j)
            if (words.at(j) == rest)
                return true;
    }
    return false;
}
