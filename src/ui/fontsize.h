#pragma once

class QWidget;

// Sets one point size on the application font and on every font in and below
// the widget: widgets, menu actions and plot axes. Sizes below 1 change nothing.
void applyFontSize(QWidget *widget, int pointSize);
