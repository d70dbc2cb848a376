#pragma once

#include <QObject>
#include <QString>

class QCustomPlot;

// Copying and saving one chart: Ctrl+C on the focused chart and its context
// menu put it on the clipboard as an image; the menu saves it as PNG or SVG.
class PlotExport : public QObject
{
    Q_OBJECT

public:
    // Lives as long as the plot it serves.
    explicit PlotExport(QCustomPlot *plot);

    // The chart as an image on the clipboard, at its size on screen.
    void copyImage();
    // SVG when the name ends in ".svg", PNG otherwise; false when the file could not be written.
    bool save(const QString &path);
    static bool savePng(QCustomPlot *plot, const QString &path);
    static bool saveSvg(QCustomPlot *plot, const QString &path);

private:
    void showMenu(const QPoint &at);
    void askAndSave(const QString &filter, const QString &suffix);

    QCustomPlot *plot;
};
