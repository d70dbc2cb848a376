#pragma once

#include "signing/signingerror.h"

#include <QByteArray>
#include <QString>

class QWidget;

// What the operator is told and asked about the certificate reports are
// signed with, shared by the certificate dialog and the PDF export.

// Which failure it was, as one sentence.
QString signingFailureText(SigningErrorKind kind);

// Asks the certificate file's password; false when the operator cancelled.
bool askSigningPassword(QWidget *parent, const QString &certificatePath, QByteArray *password);
