#pragma once

#include "report/reportcontent.h"

#include <QVector>

// One row of the report's field table: a section caption spanning the table,
// or a field caption with its value.
struct FieldTableRow
{
    bool isSection = false;
    QString text;  // section caption, or field caption
    QString value; // field value (empty for a section row)

    bool operator==(const FieldTableRow &other) const
    {
        return isSection == other.isSection && text == other.text && value == other.value;
    }
};

// The rows both writers print: a section row before the first printed field of
// each section, empty fields left out unless asked for.
QVector<FieldTableRow> fieldTableRows(const QVector<ReportField> &fields, bool includeEmptyFields);
