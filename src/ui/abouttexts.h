#pragma once

#include <QString>

// Texts of the two about boxes, in the language active when they are built.
namespace AboutTexts {

QString programText();
QString companyText();

// Source texts (looked up in the "MainWindow" context).
extern const char *const kCompanyDescription;

} // namespace AboutTexts
