#pragma once

// The English catalogue, compiled into the program's resources.
inline constexpr char kCataloguePath[] = ":/i18n/ts.qm";

// Qt's own texts in Russian (dialog buttons, file dialogs), compiled in beside it.
inline constexpr char kQtRussianCataloguePath[] = ":/i18n/qtbase_ru.qm";
