#pragma once

#include "report/reportcontent.h"
#include "report/reportsource.h"

#include <QImage>
#include <QObject>
#include <functional>

class BlockView;
class QWidget;
class ReportStatus;

namespace Ui {
class MainWindow;
}

// Writes the report of the shown block: asks for the target, gathers the
// form's fields, the block, its statistics and the band's verdict from the
// block view, runs the PDF or Excel writer, says when the file could not be
// written and, in the status bar, where it was.
class ReportExport : public QObject
{
    Q_OBJECT

public:
    using LogoSource = std::function<QImage()>;

    ReportExport(const Ui::MainWindow *form, BlockView *view, ReportStatus *status, LogoSource logo,
                 QWidget *dialogParent);

    void exportPdf();
    void exportExcel();

    // What the writers are given; public for the window's tests.
    ReportContent collectContent() const;

private:
    ExportTarget askTarget(const QString &caption, const QString &extension);
    ReportSource gatherSource(const QSize &plotSize);
    void writePdf(const QString &path, bool includeEmptyFields);
    void writeExcel(const QString &path, bool includeEmptyFields);
    void showPdfProgress(int page, int pages);
    // Tells why the report could not be written at the path.
    void showSaveFailure(const QString &path);

    const Ui::MainWindow *ui;
    BlockView *view;
    ReportStatus *status;
    LogoSource logo;
    QWidget *dialogParent;
};
