#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>

// A written workbook, read back by openpyxl (readers/xlsx_dump.py under
// Debian's /usr/bin/python3): {"sheets", "sheetNames", "title", "cells":
// {"A1": {"value", "type", "font", "color", "format", ...}}, "merges",
// "columns", "images", "pageSetup", "dataRows", "properties"} for the first
// sheet, the second sheet's rows of cells, the workbook's properties
// ({"title", "subject", "creator", "keywords", "company", "application"})
// and the sheets after the second ("laterSheets": [{"name", "rows",
// "images"}]).
// Empty when the reader failed.
QJsonObject readWorkbook(const QString &path);

// One cell of the first sheet, as the reader describes it; empty when absent.
QJsonObject workbookCell(const QJsonObject &book, const QString &name);
QVariant cellValue(const QJsonObject &book, const QString &name);

// Every cell that holds a value: {"A1": value, ...}, numbers kept as numbers.
QJsonObject cellValues(const QJsonObject &book);

// Every cell's value as text, one per line.
QString workbookText(const QJsonObject &book);
