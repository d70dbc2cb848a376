#pragma once

#include <QPoint>
#include <QString>

class QAction;
class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QWidget;

// Real input events, as the operator's mouse and keyboard send them.

// Key presses for any text: letters beyond ASCII go as key events that carry
// only their text, as an input method delivers them.
void typeText(QWidget *widget, const QString &text);

// Clicks into the edit, selects all and types the text over it.
void typeInto(QLineEdit *edit, const QString &text);

// Types a number (at the box's decimals) over the box's text and finishes the edit with Enter.
void typeInto(QDoubleSpinBox *box, double value);

// What a mouse sends for a double-click: press, release, double-click, release.
void doubleClick(QWidget *widget, const QPoint &at);

// A double-click on the row's item, at the centre of its rectangle in the
// view's viewport (where the view takes mouse events), scrolled into view first.
void doubleClickRow(QListWidget *list, int row);

// A check box takes clicks on its box and its text only, not on the rest of its width.
void clickCheckBox(QCheckBox *box);

// Opens the menu holding `action` from the menu bar and clicks the action.
void clickMenuAction(QMainWindow &window, QAction *action);
