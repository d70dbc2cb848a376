#pragma once

#include "report/reportcontent.h"

#include <QImage>
#include <QObject>
#include <functional>

class BlockView;
class QWidget;
struct ReportData;

namespace Ui {
class MainWindow;
}

// Writes the report of the shown block: asks for the target, gathers the
// form's fields, the block and its statistics from the block view, runs the
// PDF or Excel writer and says when the file could not be written.
class ReportExport : public QObject
{
    Q_OBJECT

public:
    using LogoSource = std::function<QImage()>;

    ReportExport(const Ui::MainWindow *form, BlockView *view, LogoSource logo, QWidget *dialogParent);

    void exportPdf();
    void exportExcel();

    // What the writers are given; public for the window's tests.
    ReportContent collectContent() const;

private:
    ExportTarget askTarget(const QString &caption, const QString &extension);
    ReportData gatherData(bool includeEmptyFields, const QSize &plotSize);
    void writePdf(const QString &path, bool includeEmptyFields);
    void writeExcel(const QString &path, bool includeEmptyFields);
    void showSaveFailure();

    const Ui::MainWindow *ui;
    BlockView *view;
    LogoSource logo;
    QWidget *dialogParent;
};
