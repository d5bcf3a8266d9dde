#pragma once

#include <QStyledItemDelegate>

// Draws items as usual; an item whose text does not fit its cell (shown cut off) shows its
// whole text as a tooltip. A text that fits shows no tooltip.
class CutTextToolTipDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
