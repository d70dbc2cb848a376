#pragma once

#include <QString>

// A text of the signing layer, in the interface's language.
QString signingText(const char *source);
