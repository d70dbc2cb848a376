#pragma once

// The English catalogue, compiled into the program's resources.
inline constexpr char kCataloguePath[] = ":/i18n/ts.qm";
