#include "area/CutTextToolTipDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

bool CutTextToolTipDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                       const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !view)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QStyle* style = view->style();
    // The style draws the text inside its text rectangle less a margin on either side.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int room =
        style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).width() - 2 * margin;
    if (item.fontMetrics.horizontalAdvance(item.text) > room)
        QToolTip::showText(event->globalPos(), item.text, view->viewport());
    else
        QToolTip::hideText();
    return true;
}
