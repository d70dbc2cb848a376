#include "ui/valuemarkdelegate.h"

#include "values/bandmark.h"

QString ValueMarkDelegate::shownText(const QModelIndex &index)
{
    return withBandMark(index.data(Qt::DisplayRole).toString(), BandMark(index.data(kBandMarkRole).toInt()));
}

void ValueMarkDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = shownText(index);
}
