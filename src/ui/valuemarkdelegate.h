#pragma once

#include <QStyledItemDelegate>

// The item role of a value cell that holds the side its reading is out on
// (BandMark as an int; missing: none).
constexpr int kBandMarkRole = Qt::UserRole + 1;

// Draws a value cell's text with its out-of-band mark after it ("10.04 ▲"),
// so that the side is seen without the colour; the cell's text itself stays
// the number, as copied and read.
class ValueMarkDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The text the cell is drawn with.
    static QString shownText(const QModelIndex &index);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
