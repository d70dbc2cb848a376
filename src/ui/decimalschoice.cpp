#include "ui/decimalschoice.h"

#include "values/decimals.h"

#include <QComboBox>
#include <algorithm>

namespace {
constexpr int kAutoIndex = 0;
constexpr int kFewestBoxDecimals = 1;
} // namespace

int chosenDecimals(const QComboBox *box)
{
    if (!box)
        return kAutoDecimals;
    // The items after Авто are the counts themselves.
    return boundedDecimalsChoice(box->currentIndex());
}

int decimalsChoiceIndex(int chosen)
{
    const int bounded = boundedDecimalsChoice(chosen);
    return bounded == kAutoDecimals ? kAutoIndex : bounded;
}

int boxDecimals(int chosen)
{
    return std::max(kFewestBoxDecimals, chosen);
}
