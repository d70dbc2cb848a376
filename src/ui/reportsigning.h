#pragma once

#include "signing/signingerror.h"
#include "signing/signingidentity.h"

#include <QObject>

class QCheckBox;
class QWidget;
struct SettingsValues;

// Signing of PDF reports for the window: the certificate file chosen in the
// "Подпись отчётов" dialog, the "Подписать PDF" box (usable only once a file
// is chosen), and the file's password, asked once per run and kept in memory
// only. The file's path and the box are kept in the settings.
class ReportSigning : public QObject
{
    Q_OBJECT

public:
    ReportSigning(QCheckBox *box, QWidget *dialogParent);

    void start(const SettingsValues &values);
    void storeInto(SettingsValues &values) const;
    // The menu's command: the dialog, then the box follows the choice.
    void chooseCertificate();
    void retranslate() { showState(); }

    QString certificatePath() const { return path; }

    // What an export does about its signature, decided before anything is written.
    struct Decision
    {
        bool cancelled = false;   // write nothing
        SigningIdentity identity; // valid: sign; otherwise write unsigned
    };
    // Nothing to do while the box is off. Otherwise asks the password (once
    // per run), loads and checks the identity; a failure is told, and the
    // operator chooses an unsigned report or none.
    Decision decide();
    // After the written file could not be signed: told, and true when the
    // operator wants the report unsigned.
    bool offerUnsigned(const SigningError &error);

private:
    void showState();

    QCheckBox *box;
    QWidget *dialogParent;
    QString path;
    QByteArray password;
    bool passwordKnown = false;
};
