#pragma once

#include "station/stationform.h"
#include "station/stationsigning.h"
#include "values/memoryblock.h"
#include "values/toleranceband.h"

#include <QDir>
#include <QString>
#include <QStringList>

struct ReportData;

// Writes the reports of judged blocks with the window's writers, one file
// per block and format, into one folder.
class StationReports
{
public:
    struct Written
    {
        QStringList paths;    // written
        QStringList failed;   // could not be written
        SigningError signing; // why the PDF was not signed (and so not kept)
    };

    StationReports(const StationForm &form, const ToleranceBand &band, int valueDecimals, bool pdf, bool xlsx,
                   const QString &folder);

    // From now on each PDF is signed before it takes its name.
    void setSigning(const StationSigning &certificate);

    // `portTag` and `number` tell apart the files of blocks read together.
    Written write(const MemoryBlock &block, int number, const QString &portTag);

private:
    QString targetPath(const QString &portTag, int number, const QString &extension) const;
    // Writes and signs the PDF under a hidden name, then gives it its own.
    bool writeSignedPdf(const ReportData &data, const QString &path, SigningError *error) const;

    StationForm form;
    ToleranceBand band;
    int valueDecimals;
    bool pdf;
    bool xlsx;
    QString folder;
    QTime startedAt;
    StationSigning signing;
};
