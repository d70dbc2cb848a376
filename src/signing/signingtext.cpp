#include "signing/signingtext.h"

#include <QCoreApplication>

QString signingText(const char *source)
{
    return QCoreApplication::translate("Signing", source);
}
