#pragma once

#include "station/stationform.h"
#include "values/memoryblock.h"
#include "values/toleranceband.h"

#include <QDir>
#include <QString>
#include <QStringList>

// Writes the reports of judged blocks with the window's writers, one file
// per block and format, into one folder.
class StationReports
{
public:
    struct Written
    {
        QStringList paths;  // written
        QStringList failed; // could not be written
    };

    StationReports(const StationForm &form, const ToleranceBand &band, int valueDecimals, bool pdf, bool xlsx,
                   const QString &folder);

    // `portTag` and `number` tell apart the files of blocks read together.
    Written write(const MemoryBlock &block, int number, const QString &portTag);

private:
    QString targetPath(const QString &portTag, int number, const QString &extension) const;

    StationForm form;
    ToleranceBand band;
    int valueDecimals;
    bool pdf;
    bool xlsx;
    QString folder;
    QTime startedAt;
};
