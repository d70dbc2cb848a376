#pragma once

class QComboBox;

// The "Знаков после запятой" box lists Авто first, then one to four decimals.

// The choice the box holds: kAutoDecimals for Авто (or without a box).
int chosenDecimals(const QComboBox *box);
// The box's index for a choice; anything but one to four is Авто.
int decimalsChoiceIndex(int chosen);

// The decimals the band's limit boxes and the statistics boxes take: the one
// they always had at Авто, otherwise the chosen count. A limit with more
// decimals is rounded to them, as a typed one is.
int boxDecimals(int chosen);
