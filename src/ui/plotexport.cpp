#include "ui/plotexport.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QSvgGenerator>
#include <qcustomplot.h>

namespace {
constexpr double kScreenScale = 1.0;
}

PlotExport::PlotExport(QCustomPlot *plot)
    : QObject(plot)
    , plot(plot)
{
    plot->setFocusPolicy(Qt::StrongFocus);
    plot->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *copy = new QShortcut(QKeySequence::Copy, plot, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &PlotExport::copyImage);
    connect(plot, &QWidget::customContextMenuRequested, this, &PlotExport::showMenu);
}

void PlotExport::copyImage()
{
    QGuiApplication::clipboard()->setImage(plot->toPixmap(0, 0, kScreenScale).toImage());
}

bool PlotExport::save(const QString &path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0)
        return saveSvg(plot, path);
    return savePng(plot, path);
}

bool PlotExport::savePng(QCustomPlot *plot, const QString &path)
{
    return plot->savePng(path, 0, 0, kScreenScale);
}

bool PlotExport::saveSvg(QCustomPlot *plot, const QString &path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(plot->size());
    svg.setViewBox(plot->rect());
    svg.setResolution(plot->logicalDpiX());
    svg.setTitle(plot->window()->windowTitle());
    QCPPainter painter;
    // A file that cannot be opened leaves the painter inactive.
    if (!painter.begin(&svg))
        return false;
    // Drawn exactly, as for a document, not thinned to the screen's pixels.
    painter.setMode(QCPPainter::pmVectorized);
    plot->toPainter(&painter, plot->width(), plot->height());
    return painter.end() && QFileInfo(path).size() > 0;
}

void PlotExport::showMenu(const QPoint &at)
{
    QMenu menu(plot);
    connect(menu.addAction(tr("Копировать изображение")), &QAction::triggered, this, &PlotExport::copyImage);
    connect(menu.addAction(tr("Сохранить как PNG…")), &QAction::triggered, this,
            [this] { askAndSave(tr("Изображение PNG (*.png)"), QStringLiteral("png")); });
    connect(menu.addAction(tr("Сохранить как SVG…")), &QAction::triggered, this,
            [this] { askAndSave(tr("Рисунок SVG (*.svg)"), QStringLiteral("svg")); });
    menu.exec(plot->mapToGlobal(at));
}

void PlotExport::askAndSave(const QString &filter, const QString &suffix)
{
    QString path = QFileDialog::getSaveFileName(plot, tr("Сохранить график"), QString(), filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    if (!save(path))
        QMessageBox::warning(plot, tr("Сохранить график"), tr("Не удалось записать файл %1.").arg(path));
}
