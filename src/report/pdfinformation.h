#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What an archived PDF/A-1b file says about itself. QPdfWriter writes only a
// title and a creator into the file's information dictionary, which viewers
// and pdfinfo show; the author and subject are added afterwards, and the same
// facts go into the XMP metadata that PDF/A requires to agree with it.
struct PdfInformation
{
    QString title;
    QString author;
    QString subject;
    QString creator; // the program that made the document
    QString producer;
    QDateTime created; // UTC, to the second
};

// The XMP packet for QPdfWriter::setDocumentXmpMetadata.
QByteArray pdfXmpMetadata(const PdfInformation &information);

// The PDF as QPdfWriter wrote it, with its information dictionary replaced by
// one holding every entry of the information, and the cross-reference table
// moved along. A file laid out otherwise than QPdfWriter lays it out is
// returned as it is.
QByteArray withPdfInformation(const QByteArray &pdf, const PdfInformation &information);
