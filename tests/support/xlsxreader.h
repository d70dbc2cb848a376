#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>

// A written workbook, read back by openpyxl (readers/xlsx_dump.py under
// Debian's /usr/bin/python3): {"sheets", "title", "cells": {"A1": {"value",
// "type", "font", ...}}, "merges", "columns", "images"}. Empty when the reader
// failed.
QJsonObject readWorkbook(const QString &path);

// One cell of the first sheet, as the reader describes it; empty when absent.
QJsonObject workbookCell(const QJsonObject &book, const QString &name);
QVariant cellValue(const QJsonObject &book, const QString &name);

// Every cell that holds a value: {"A1": value, ...}, numbers kept as numbers.
QJsonObject cellValues(const QJsonObject &book);

// Every cell's value as text, one per line.
QString workbookText(const QJsonObject &book);
