#include "inputevents.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace {

constexpr ushort kFirstNonAscii = 0x80;
// How long a menu may take to open or close on a loaded machine; a bound, not a check.
constexpr int kMenuTimeoutMs = 2000;

} // namespace

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < kFirstNonAscii)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    typeText(edit, text);
}

void typeInto(QDoubleSpinBox *box, double value)
{
    QVERIFY(box);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    typeText(box, box->locale().toString(value, 'f', box->decimals()));
    QTest::keyClick(box, Qt::Key_Enter);
}

void doubleClick(QWidget *widget, const QPoint &at)
{
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
}

void doubleClickRow(QListWidget *list, int row)
{
    QListWidgetItem *item = list->item(row);
    QVERIFY2(item, qPrintable(QStringLiteral("no row %1 in the list").arg(row)));
    list->scrollToItem(item);
    doubleClick(list->viewport(), list->visualItemRect(item).center());
}

void clickCheckBox(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, area.center());
}

void clickMenuAction(QMainWindow &window, QAction *action)
{
    QMenuBar *bar = window.menuBar();
    QMenu *menu = nullptr;
    for (QWidget *widget : action->associatedWidgets()) {
        if (auto *m = qobject_cast<QMenu *>(widget))
            menu = m;
    }
    QVERIFY(menu);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QVERIFY(QTest::qWaitFor([menu] { return menu->isVisible(); }, kMenuTimeoutMs));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    QVERIFY(QTest::qWaitFor([menu] { return !menu->isVisible(); }, kMenuTimeoutMs));
}
