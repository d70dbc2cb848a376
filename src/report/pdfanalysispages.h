#pragma once

class QTextCursor;
struct AnalysisSection;

// The process analysis in the PDF report: on pages of its own from the
// cursor, the charts with their captions, the capability table and the
// broken rules. What the cursor adds next starts a new page. Nothing is
// added for a section not included.
void addAnalysisPages(QTextCursor &cursor, int pageWidth, const AnalysisSection &section);
