#include "report/fieldtable.h"

QVector<FieldTableRow> fieldTableRows(const QVector<ReportField> &fields, bool includeEmptyFields)
{
    QVector<FieldTableRow> rows;
    QString lastSection;
    for (const ReportField &field : fields) {
        if (!includeEmptyFields && field.value.isEmpty())
            continue;
        if (field.section != lastSection) {
            rows.append({true, field.section, QString()});
            lastSection = field.section;
        }
        rows.append({false, field.label, field.value});
    }
    return rows;
}
