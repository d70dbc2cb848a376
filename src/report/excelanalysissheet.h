#pragma once

#include <QString>

class XlsxDocument;
struct AnalysisSection;

// The process analysis as a sheet of its own after the others: the
// capability table as numbers (each interval's ends in columns of their own),
// the broken rules, then the charts as images. `header` and `footer` in
// Excel's codes, as the other sheets print them. Nothing for a section not
// included.
void writeAnalysisSheet(XlsxDocument &document, const AnalysisSection &section, const QString &header,
                        const QString &footer);
