#pragma once

class QLabel;

// Lets a one-line label shrink below its text's width, so that a long text
// never widens the window: where the label is narrower than its text, the
// text is drawn cut short with "…" and the whole text becomes its tooltip.
// text() keeps the whole text.
void elideLabel(QLabel *label);
