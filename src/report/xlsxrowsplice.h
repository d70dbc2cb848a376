#pragma once

#include "report/deflatedpart.h"

#include <QByteArray>
#include <future>

class XlsxPlainRows;

// Rows of a sheet written row by row, made and compressed on another thread
// while the library builds the rest of the workbook, then joined into the
// package it wrote: between the rows' first and last, which the library writes.
class XlsxRowSplice
{
public:
    // sheetNumber: the sheet's place among the workbook's sheets, from 1.
    XlsxRowSplice(int sheetNumber, const XlsxPlainRows &rows, int firstRow, int firstColumn);

    // The package with the rows put in; empty when it is laid out otherwise.
    QByteArray joinedInto(const QByteArray &package);

private:
    QByteArray part;
    QByteArray lastRowStart;
    std::future<DeflatedPart> made;
};
