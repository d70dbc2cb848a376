#pragma once

#include "report/pdfreport.h"
#include "signing/pdfsigner.h"

struct ReportData;
class SigningIdentity;

struct SignedPdfResult
{
    bool written = false; // false: the PDF itself could not be written or put in place
    SigningError signing; // not ok: written, but it could not be signed
    bool ok() const { return written && signing.ok(); }
};

// Writes the report beside `path`, signs it there and only then puts it in
// place: a report that could not be signed never appears at `path`, and a
// file already there stays as it was.
SignedPdfResult writeSignedPdfFile(const QString &path, const ReportData &data,
                                   const SigningIdentity &identity, const PdfSignatureInfo &info,
                                   const PdfProgress &progress);
