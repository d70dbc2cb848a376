#pragma once

// While it lives, the C library prints and reads numbers on this thread with
// a decimal point whatever the locale the program runs in (Qt takes the
// user's: "50,8" under a Russian one). The xlsx library writes every number
// of a workbook through printf, and a comma there spoils the file.
class CNumericScope
{
public:
    CNumericScope();
    ~CNumericScope();
    CNumericScope(const CNumericScope &) = delete;
    CNumericScope &operator=(const CNumericScope &) = delete;

private:
    struct Locales;
    Locales *locales;
};
