#pragma once

#include "report/reportcontent.h"
#include "ui/reportformwidgets.h"

#include <QImage>
#include <QObject>
#include <functional>

class BlockView;
class QWidget;
class ReportStatus;
struct ReportData;

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
    ReportData gatherData(bool includeEmptyFields, const QSize &plotSize);
    void addBlockAndVerdict(ReportData &data) const;
    void addPdfTexts(ReportData &data) const;
    void writePdf(const QString &path, bool includeEmptyFields);
    void writeExcel(const QString &path, bool includeEmptyFields);
    void showPdfProgress(int page, int pages);
    void showSaveFailure();

    ReportFormWidgets form;
    BlockView *view;
    ReportStatus *status;
    LogoSource logo;
    QWidget *dialogParent;
};
