#include "ui/appicon.h"

#include <QString>

namespace {

// The sizes drawn in data/icons/, compiled into the program's resources.
constexpr int kIconSides[] = {16, 24, 32, 48, 64, 128, 256};

} // namespace

QIcon appIcon()
{
    // A resource in a static library is only linked in when something asks for it.
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    for (int side : kIconSides)
        icon.addFile(QStringLiteral(":/icons/zrv-%1.png").arg(side), QSize(side, side));
    return icon;
}
