#pragma once

#include <QIcon>

// The program's icon, the same picture that is installed into the desktop's
// icon theme; the window, its message boxes and the about box show it.
QIcon appIcon();
