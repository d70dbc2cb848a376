#pragma once

#include <QString>

// The workbook printed to PDF by LibreOffice, with a profile of its own in
// `folder` so that parallel runs do not meet; the PDF's path, empty on
// failure (the office's errors go to the test log).
QString printWithLibreOffice(const QString &workbook, const QString &folder);
