#include "officeprint.h"

#include "toolrun.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

QString printWithLibreOffice(const QString &workbook, const QString &folder)
{
    const QString profile = QUrl::fromLocalFile(QDir(folder).filePath("libreoffice-profile")).toString();
    // The first start in a fresh profile is slow, the more so on a busy machine.
    constexpr int kGenerousMs = 600000;
    const ToolRun office = runTool(QStringLiteral("soffice"),
                                   {"-env:UserInstallation=" + profile, "--headless", "--convert-to", "pdf",
                                    "--outdir", folder, workbook},
                                   kGenerousMs);
    if (!office.ok()) {
        qWarning() << office.errors;
        return QString();
    }
    const QString pdf = QDir(folder).filePath(QFileInfo(workbook).completeBaseName() + ".pdf");
    return QFile::exists(pdf) ? pdf : QString();
}
