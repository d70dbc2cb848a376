#pragma once

#include <QString>
#include <QVector>

// One line of the report's field table.
struct ReportField
{
    QString label;   // text of the field's caption label
    QString value;   // text of the field (the date as dd.MM.yyyy)
    QString section; // text of the caption label of the field's section
};

// What the export collects from the form and the shown block.
struct ReportContent
{
    QVector<ReportField> fields; // always the 15 fields, in form order
    QString valueHeader;         // second word of the block name, or empty
    QVector<float> values;
};

// Result of the save dialog step; an empty path means nothing is written.
struct ExportTarget
{
    QString path;
    bool includeEmptyFields = false;
};
