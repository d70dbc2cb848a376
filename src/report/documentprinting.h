#pragma once

class QPagedPaintDevice;
class QTextDocument;

// Printing a text document with the pages of QTextDocument::print (2 cm
// margins, the page number at the bottom right), but laid out once, straight
// on the device, where print() lays out a full copy of the document.

// Makes the document lay out on the device's pages. Call it before filling the
// document, so that no layout is done for the screen first.
void prepareDocumentForPrinting(QTextDocument &document, QPagedPaintDevice &device);

// Prints a prepared document page by page. False when the device failed.
bool printPreparedDocument(const QTextDocument &document, QPagedPaintDevice &device);
