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
class ReportSigning;
class ReportStatus;
class SigningIdentity;
struct ReportData;

// Writes the report of the shown block: asks for the target, gathers the
// form's fields, the block, its statistics and the band's verdict from the
// block view, runs the PDF or Excel writer, says when the file could not be
// written and, in the status bar, where it was. A PDF is signed when the
// signing panel says so.
class ReportExport : public QObject
{
    Q_OBJECT

public:
    using LogoSource = std::function<QImage()>;

    ReportExport(const ReportFormWidgets &form, BlockView *view, ReportStatus *status, LogoSource logo,
                 QWidget *dialogParent, ReportSigning *signing = nullptr);

    void exportPdf();
    void exportExcel();

    // What the writers are given; public for the window's tests.
    ReportContent collectContent() const;

private:
    ExportTarget askTarget(const QString &caption, const QString &extension);
    ReportSource gatherSource(const QSize &plotSize, const QSize &analysisChartSize);
    void writePdf(const QString &path, bool includeEmptyFields);
    // false: not written (the failure was told, or the operator chose no unsigned report).
    bool writeSignedPdf(const QString &path, ReportData data, const SigningIdentity &identity);
    bool writeUnsignedPdf(const QString &path, const ReportData &data);
    void writeExcel(const QString &path, bool includeEmptyFields);
    void showPdfProgress(int page, int pages);
    void showSaveFailure(const QString &path);
    static QString saveFailureCauseText(SaveFailureCause cause);

    ReportFormWidgets form;
    BlockView *view;
    ReportStatus *status;
    LogoSource logo;
    QWidget *dialogParent;
    ReportSigning *signing;
};
