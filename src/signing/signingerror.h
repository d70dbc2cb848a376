#pragma once

#include <QString>

// Why a signing step failed; None means it succeeded.
enum class SigningErrorKind {
    None,
    FileUnreadable,
    WrongPassword,
    NoPrivateKey,
    CertificateExpired,
    CertificateNotYetValid,
    KeyCannotSign,
    PasswordFileUnreadable,
    PdfUnreadable,
    SigningFailed,
    WriteFailed,
};

struct SigningError {
    SigningErrorKind kind = SigningErrorKind::None;
    QString text;

    bool ok() const { return kind == SigningErrorKind::None; }
};
