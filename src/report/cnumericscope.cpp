#include "report/cnumericscope.h"

#include <clocale>
#include <locale.h>

struct CNumericScope::Locales
{
    locale_t previous = nullptr;
    locale_t numericC = nullptr;
};

CNumericScope::CNumericScope()
    : locales(new Locales)
{
    // The thread's own locale, its numbers as the C locale has them; the
    // other categories (the characters of file names) stay as they were.
    const locale_t current = duplocale(uselocale(nullptr));
    if (!current)
        return;
    locales->numericC = newlocale(LC_NUMERIC_MASK, "C", current);
    if (!locales->numericC) {
        freelocale(current);
        return;
    }
    locales->previous = uselocale(locales->numericC);
}

CNumericScope::~CNumericScope()
{
    if (locales->numericC) {
        uselocale(locales->previous);
        freelocale(locales->numericC);
    }
    delete locales;
}
