#pragma once

#include "report/exportpath.h"
#include "report/savefailure.h"

#include "report/reportcontent.h"
#include "report/reportsource.h"
#include "ui/reportformwidgets.h"

#include <QImage>
#include <QObject>
#include <functional>

class BlockView;
class QWidget;
class ReportStatus;

// Writes the report of the shown block: asks for the target, gathers the
// form's fields, the block, its statistics and the band's verdict from the
// block view, runs the PDF or Excel writer, says when the file could not be
// written and, in the status bar, where it was.
class ReportExport : public QObject
{
    Q_OBJECT

public:
    using LogoSource = std::function<QImage()>;

    ReportExport(const ReportFormWidgets &form, BlockView *view, ReportStatus *status, LogoSource logo,
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
    void showSaveFailure(const QString &path);
    static QString saveFailureCauseText(SaveFailureCause cause);

    ReportFormWidgets form;
    BlockView *view;
    ReportStatus *status;
    LogoSource logo;
    QWidget *dialogParent;
};
